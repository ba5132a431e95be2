#include "backends/x11/WindowImage.h"

#include <X11/Xutil.h>

#include <bit>
#include <cstdlib>
#include <cstring>

#include "backends/x11/XErrorTrap.h"

#if HALYARD_HAVE_XSHM
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#endif

namespace halyard {

struct WindowImage::SharedSegment {
#if HALYARD_HAVE_XSHM
  XShmSegmentInfo info{};
#endif
};

namespace {
// One colour channel of the visual: where its bits are and how many.
struct Channel {
  int shift = 0;
  int bits = 0;
  explicit Channel(unsigned long mask) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    bits = std::popcount(mask);
  }
  unsigned long Place(std::uint32_t value8) const {
    const unsigned long value = bits >= 8 ? static_cast<unsigned long>(value8) << (bits - 8)
                                          : static_cast<unsigned long>(value8) >> (8 - bits);
    return value << shift;
  }
};

bool HostIsLittleEndian() { return std::endian::native == std::endian::little; }
}  // namespace

WindowImage::WindowImage(Display* display, Window window, Visual* visual, int depth, int width, int height,
                         bool allowSharedMemory, bool allowSharedPixmap)
    : display_(display), window_(window), width_(width), height_(height) {
  if (!allowSharedMemory || !CreateSharedImage(visual, depth)) CreatePlainImage(visual, depth);
  if (shared_ && allowSharedPixmap) CreateSharedPixmap(depth);
  if (pixmap_ == 0) {
    pixmap_ = XCreatePixmap(display_, window_, static_cast<unsigned>(width_), static_cast<unsigned>(height_),
                            static_cast<unsigned>(depth));
    XGCValues values{};
    values.graphics_exposures = False;
    gc_ = XCreateGC(display_, pixmap_, GCGraphicsExposures, &values);
  }

  const XImage& image = *image_;
  directCopy_ = visual->red_mask == 0xFF0000 && visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF &&
                image.bits_per_pixel == 32 &&
                image.byte_order == (HostIsLittleEndian() ? LSBFirst : MSBFirst) &&
                image.bytes_per_line % 4 == 0;
  if (directCopy_) {
    frame_ = Picture::View(reinterpret_cast<std::uint32_t*>(image.data), width_, height_, image.bytes_per_line / 4);
  } else {
    frame_ = Picture(width_, height_);
  }
  XSetWindowBackgroundPixmap(display_, window_, pixmap_);
}

WindowImage::~WindowImage() {
  if (window_ != 0) XSetWindowBackgroundPixmap(display_, window_, None);
  if (gc_ != nullptr) XFreeGC(display_, gc_);
  if (pixmap_ != 0) XFreePixmap(display_, pixmap_);
#if HALYARD_HAVE_XSHM
  if (shared_) {
    XShmDetach(display_, &shared_->info);
    XSync(display_, False);
    shmdt(shared_->info.shmaddr);
    image_->data = nullptr;  // not ours to free()
  }
#endif
  if (image_ != nullptr) XDestroyImage(image_);
}

bool WindowImage::CreateSharedImage([[maybe_unused]] Visual* visual, [[maybe_unused]] int depth) {
#if HALYARD_HAVE_XSHM
  if (!XShmQueryExtension(display_)) return false;
  auto segment = std::make_unique<SharedSegment>();
  XImage* image = XShmCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, nullptr,
                                  &segment->info, static_cast<unsigned>(width_), static_cast<unsigned>(height_));
  if (image == nullptr) return false;
  segment->info.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image->bytes_per_line) * image->height,
                               IPC_CREAT | 0600);
  if (segment->info.shmid < 0) {
    XDestroyImage(image);
    return false;
  }
  segment->info.shmaddr = static_cast<char*>(shmat(segment->info.shmid, nullptr, 0));
  if (segment->info.shmaddr == reinterpret_cast<char*>(-1)) {
    shmctl(segment->info.shmid, IPC_RMID, nullptr);
    XDestroyImage(image);
    return false;
  }
  image->data = segment->info.shmaddr;
  // Writable for the server too: a shared pixmap is refused on a read-only segment.
  segment->info.readOnly = False;
  int error = 0;
  {
    // A server on another machine cannot attach the segment: it says so with an error.
    XErrorTrap trap(display_);
    XShmAttach(display_, &segment->info);
    error = trap.ErrorCode();
  }
  // Once both sides are attached the segment can be marked for removal: it
  // then disappears with the last detach, even if the process is killed.
  shmctl(segment->info.shmid, IPC_RMID, nullptr);
  if (error != 0) {
    shmdt(segment->info.shmaddr);
    image->data = nullptr;
    XDestroyImage(image);
    return false;
  }
  image_ = image;
  shared_ = std::move(segment);
  return true;
#else
  return false;
#endif
}

void WindowImage::CreateSharedPixmap([[maybe_unused]] int depth) {
#if HALYARD_HAVE_XSHM
  int major = 0, minor = 0;
  Bool pixmaps = False;
  if (!XShmQueryVersion(display_, &major, &minor, &pixmaps) || !pixmaps || XShmPixmapFormat(display_) != ZPixmap) {
    return;
  }
  // The image was made in the server's ZPixmap layout, which a shared pixmap
  // of the same size and depth has too.
  XErrorTrap trap(display_);
  const Pixmap pixmap = XShmCreatePixmap(display_, window_, shared_->info.shmaddr, &shared_->info,
                                         static_cast<unsigned>(width_), static_cast<unsigned>(height_),
                                         static_cast<unsigned>(depth));
  if (trap.ErrorCode() != 0) {
    if (pixmap != 0) XFreePixmap(display_, pixmap);
    return;
  }
  pixmap_ = pixmap;
  sharedPixmap_ = true;
#endif
}

void WindowImage::CreatePlainImage(Visual* visual, int depth) {
  // Asks Xlib for the layout the server wants, then gives it the memory.
  image_ = XCreateImage(display_, visual, static_cast<unsigned>(depth), ZPixmap, 0, nullptr,
                        static_cast<unsigned>(width_), static_cast<unsigned>(height_), 32, 0);
  image_->data = static_cast<char*>(std::calloc(static_cast<std::size_t>(image_->bytes_per_line), height_));
}

void WindowImage::CopyPixels(const Picture& frame, const PixelRect& area) {
  const auto count = static_cast<std::size_t>(area.right - area.left);
  if (directCopy_) {
    for (std::int32_t y = area.top; y < area.bottom; ++y) {
      char* row = image_->data + static_cast<std::ptrdiff_t>(y) * image_->bytes_per_line;
      std::memcpy(row + static_cast<std::ptrdiff_t>(area.left) * 4, frame.Row(y) + area.left,
                  count * sizeof(std::uint32_t));
    }
    return;
  }
  const Channel red(image_->red_mask), green(image_->green_mask), blue(image_->blue_mask);
  for (std::int32_t y = area.top; y < area.bottom; ++y) {
    const std::uint32_t* source = frame.Row(y);
    for (std::int32_t x = area.left; x < area.right; ++x) {
      const std::uint32_t p = source[x];
      XPutPixel(image_, x, y, red.Place((p >> 16) & 0xFF) | green.Place((p >> 8) & 0xFF) | blue.Place(p & 0xFF));
    }
  }
}

void WindowImage::PrepareToDraw() {
  if (DrawsInPlace()) WaitUntilRead();
}

void WindowImage::WaitUntilRead() {
  if (shmBusy_ && XLastKnownRequestProcessed(display_) < readSerial_) {
    // The server reads shared memory when it handles the request, which may
    // be long after it was sent: the last request that reads it must have
    // been handled before the memory is drawn into again, or the server could
    // show a half-drawn picture. A round trip, unless some reply or event
    // since has said it was.
    XSync(display_, False);
  }
  shmBusy_ = false;
}

void WindowImage::Send(const Picture& frame, const PixelRect& area) {
  const PixelRect r = Intersect(Intersect(area, frame.Bounds()), {0, 0, width_, height_});
  if (r.Empty() || image_ == nullptr) return;
  if (frame.Data() != frame_.Data() || !DrawsInPlace()) {
    WaitUntilRead();
    CopyPixels(frame, r);
  }
  const auto w = static_cast<unsigned>(r.right - r.left);
  const auto h = static_cast<unsigned>(r.bottom - r.top);
#if HALYARD_HAVE_XSHM
  if (sharedPixmap_) {
    // The pixmap is the memory just written: nothing to upload.
  } else if (shared_) {
    readSerial_ = NextRequest(display_);
    XShmPutImage(display_, pixmap_, gc_, image_, r.left, r.top, r.left, r.top, w, h, False);
    shmBusy_ = true;
  } else
#endif
  {
    XPutImage(display_, pixmap_, gc_, image_, r.left, r.top, r.left, r.top, w, h);
  }
  // With a shared pixmap the server reads our memory when it handles this
  // refresh. No round trip waits for that before the next drawing: a server
  // still behind by then could show part of an area mid-drawing, but only
  // inside the areas that drawing changes, and the refresh that follows it
  // shows them whole (exposures are refreshed again by the window).
  if (window_ != 0) XClearArea(display_, window_, r.left, r.top, w, h, False);
  ++uploads_;
}

}  // namespace halyard
