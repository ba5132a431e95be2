#include "backends/posix/PngFile.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace halyard {

namespace {

// Pictures larger than this are refused rather than read into memory.
constexpr png_uint_32 kMaxSide = 16384;
constexpr std::uint64_t kMaxPixels = 1ull << 26;

// libpng reports errors by calling us and expecting no return: the message is
// kept here and control goes back to the setjmp of the running step. The steps
// below hold only trivially destructible locals, so the jump skips no
// destructor; everything owned lives in the session, in the caller's frame.
struct PngSession {
  std::FILE* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  bool writing = false;
  char message[256] = "";

  PngSession() = default;
  PngSession(const PngSession&) = delete;
  PngSession& operator=(const PngSession&) = delete;
  ~PngSession() {
    Release();
    if (file != nullptr) std::fclose(file);
  }
  void Release() {
    if (png == nullptr) return;
    if (writing) {
      png_destroy_write_struct(&png, &info);
    } else {
      png_destroy_read_struct(&png, &info, nullptr);
    }
    png = nullptr;
    info = nullptr;
  }
};

void OnPngError(png_structp png, png_const_charp message) {
  auto* session = static_cast<PngSession*>(png_get_error_ptr(png));
  if (session != nullptr) {
    std::snprintf(session->message, sizeof session->message, "%s", message != nullptr ? message : "libpng error");
  }
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}  // warnings do not stop a read or write

void Fail(std::string* error, const std::string& path, const std::string& why) {
  if (error != nullptr) *error = path + ": " + why;
}

std::string LibpngMessage(const PngSession& session, const char* fallback) {
  return session.message[0] != '\0' ? session.message : fallback;
}

bool WriteImage(PngSession& s, const Picture& picture, png_bytep row) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_init_io(s.png, s.file);
  png_set_IHDR(s.png, s.info, static_cast<png_uint_32>(picture.Width()),
               static_cast<png_uint_32>(picture.Height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(s.png, s.info);
  for (std::int32_t y = 0; y < picture.Height(); ++y) {
    const std::uint32_t* source = picture.Row(y);
    for (std::int32_t x = 0; x < picture.Width(); ++x) {
      row[3 * x] = static_cast<png_byte>(source[x] >> 16);
      row[3 * x + 1] = static_cast<png_byte>(source[x] >> 8);
      row[3 * x + 2] = static_cast<png_byte>(source[x]);
    }
    png_write_row(s.png, row);
  }
  png_write_end(s.png, nullptr);
  return true;
}

// Reads the header and asks libpng for 8-bit RGB rows whatever the file holds.
bool ReadHeader(PngSession& s, png_uint_32* width, png_uint_32* height, std::size_t* rowBytes) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_init_io(s.png, s.file);
  png_set_sig_bytes(s.png, 8);
  png_set_user_limits(s.png, kMaxSide, kMaxSide);
  png_read_info(s.png, s.info);
  png_set_expand(s.png);  // palette and low-depth grey to 8 bits, tRNS to alpha
#ifdef PNG_READ_SCALE_16_TO_8_SUPPORTED
  png_set_scale_16(s.png);
#else
  png_set_strip_16(s.png);
#endif
  png_set_strip_alpha(s.png);
  png_set_gray_to_rgb(s.png);
  png_set_interlace_handling(s.png);
  png_read_update_info(s.png, s.info);
  *width = png_get_image_width(s.png, s.info);
  *height = png_get_image_height(s.png, s.info);
  *rowBytes = png_get_rowbytes(s.png, s.info);
  return true;
}

bool ReadImage(PngSession& s, png_bytepp rows) {
  if (setjmp(png_jmpbuf(s.png))) return false;
  png_read_image(s.png, rows);
  png_read_end(s.png, nullptr);
  return true;
}

}  // namespace

bool WritePng(const std::string& path, const Picture& picture, std::string* error) {
  if (picture.Width() <= 0 || picture.Height() <= 0) {
    Fail(error, path, "cannot write an empty picture as PNG");
    return false;
  }
  PngSession s;
  s.writing = true;
  s.file = std::fopen(path.c_str(), "wb");
  if (s.file == nullptr) {
    Fail(error, path, std::string("cannot open for writing: ") + std::strerror(errno));
    return false;
  }
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s, OnPngError, OnPngWarning);
  if (s.png != nullptr) s.info = png_create_info_struct(s.png);
  bool written = false;
  if (s.png != nullptr && s.info != nullptr) {
    std::vector<png_byte> row(static_cast<std::size_t>(picture.Width()) * 3);
    written = WriteImage(s, picture, row.data());
  }
  s.Release();
  std::string why = written ? "" : "cannot encode PNG: " + LibpngMessage(s, "out of memory");
  const int closed = std::fclose(s.file);
  const int closeErrno = errno;
  s.file = nullptr;
  if (written && closed != 0) why = std::string("cannot finish writing: ") + std::strerror(closeErrno);
  if (!why.empty()) {
    std::remove(path.c_str());
    Fail(error, path, why);
    return false;
  }
  return true;
}

bool ReadPng(const std::string& path, Picture& picture, std::string* error) {
  PngSession s;
  s.file = std::fopen(path.c_str(), "rb");
  if (s.file == nullptr) {
    Fail(error, path, std::string("cannot open for reading: ") + std::strerror(errno));
    return false;
  }
  png_byte signature[8] = {};
  if (std::fread(signature, 1, sizeof signature, s.file) != sizeof signature ||
      png_sig_cmp(signature, 0, sizeof signature) != 0) {
    Fail(error, path, "not a PNG file");
    return false;
  }
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, OnPngError, OnPngWarning);
  if (s.png != nullptr) s.info = png_create_info_struct(s.png);
  if (s.png == nullptr || s.info == nullptr) {
    Fail(error, path, "cannot start the PNG decoder");
    return false;
  }

  png_uint_32 width = 0;
  png_uint_32 height = 0;
  std::size_t rowBytes = 0;
  if (!ReadHeader(s, &width, &height, &rowBytes)) {
    Fail(error, path, "bad PNG: " + LibpngMessage(s, "unreadable header"));
    return false;
  }
  if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
      static_cast<std::uint64_t>(width) * height > kMaxPixels) {
    Fail(error, path, "PNG too large to read");
    return false;
  }
  if (rowBytes != static_cast<std::size_t>(width) * 3) {
    Fail(error, path, "unsupported PNG layout");
    return false;
  }

  std::vector<png_byte> pixels(rowBytes * height);
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + rowBytes * y;
  if (!ReadImage(s, rows.data())) {
    Fail(error, path, "bad PNG: " + LibpngMessage(s, "unreadable image data"));
    return false;
  }

  Picture result(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
  for (png_uint_32 y = 0; y < height; ++y) {
    const png_byte* source = rows[y];
    std::uint32_t* target = result.Row(static_cast<std::int32_t>(y));
    for (png_uint_32 x = 0; x < width; ++x, source += 3) {
      target[x] = (static_cast<std::uint32_t>(source[0]) << 16) |
                  (static_cast<std::uint32_t>(source[1]) << 8) | source[2];
    }
  }
  picture = std::move(result);
  return true;
}

}  // namespace halyard
