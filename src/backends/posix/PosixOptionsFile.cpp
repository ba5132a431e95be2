#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/window/OptionsPath.h"

namespace halyard {

namespace {

class PosixOptionsFile final : public OptionsFileSource {
 public:
  ReadResult ReadFile(const std::string& path, std::size_t limit, std::string& bytes) override;
};

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

OptionsFileSource::ReadResult PosixOptionsFile::ReadFile(const std::string& path, std::size_t limit, std::string& bytes) {
  bytes.clear();
  // O_NONBLOCK: opening a FIFO must not wait for a writer. Whatever the open
  // finds is checked with fstat below before a single byte is read.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (file.get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG) return ReadResult::Absent;
    return ReadResult::Unreadable;
  }

  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return ReadResult::Unreadable;
  // Only regular files are read: a directory counts as absent, and FIFOs,
  // sockets and devices (which could block or never end) are refused here.
  if (S_ISDIR(info.st_mode)) return ReadResult::Absent;
  if (!S_ISREG(info.st_mode)) return ReadResult::Unreadable;

  // The size only sizes the first read; the file may change while it is read.
  std::size_t capacity = limit;
  if (info.st_size >= 0 && static_cast<std::size_t>(info.st_size) < limit) {
    capacity = static_cast<std::size_t>(info.st_size) + 1;  // one more byte notices growth
  }
  bytes.resize(capacity);
  std::size_t filled = 0;
  while (filled < limit) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2 < limit ? bytes.size() * 2 : limit);
    const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      bytes.clear();
      return ReadResult::Unreadable;
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
  return ReadResult::Read;
}

}  // namespace

std::string ExecutableFolder() {
  // The executable's own folder; the current directory plays no part. If the
  // link cannot be read the folder stays unknown.
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return std::string();
    if (static_cast<std::size_t>(length) < buffer.size()) {
      std::string exe(buffer.data(), static_cast<std::size_t>(length));
      const std::size_t slash = exe.rfind('/');
      if (slash == std::string::npos) return std::string();
      return exe.substr(0, slash + 1);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::string OptionsPath() {
  const std::string folder = ExecutableFolder();
  return folder.empty() ? std::string() : folder + kOptionsFileName;
}

OptionsSearchFacts PlatformOptionsSearch() {
  const auto variable = [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
  };
  OptionsSearchFacts facts;
  facts.programFolder = ExecutableFolder();
  facts.userPlaces = true;
  facts.xdgConfigHome = variable("XDG_CONFIG_HOME");
  facts.home = variable("HOME");
  facts.xdgConfigDirs = variable("XDG_CONFIG_DIRS");
  return facts;
}

std::string ClockProgramFileName() { return "halyard"; }

OptionsFileSource& PlatformOptionsFile() {
  static PosixOptionsFile source;
  return source;
}

}  // namespace halyard
