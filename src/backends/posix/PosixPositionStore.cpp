#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/window/PositionStore.h"

namespace halyard {

namespace {

class PosixPositionStore final : public PositionStore {
 public:
  std::string Path() const override {
    const std::string folder = Folder();
    return folder.empty() ? std::string() : folder + "/position";
  }

  bool Write(std::string_view text, std::string& error) override {
    const std::string folder = Folder();
    if (folder.empty()) {
      error = "neither XDG_STATE_HOME nor HOME names a folder";
      return false;
    }
    if (!MakeFolders(folder, error)) return false;
    const std::string path = folder + "/position";
    const std::string temporary = path + ".new." + std::to_string(getpid());
    const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (file < 0) {
      error = temporary + ": " + std::strerror(errno);
      return false;
    }
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t wrote = ::write(file, text.data() + done, text.size() - done);
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote <= 0) break;
      done += static_cast<std::size_t>(wrote);
    }
    const bool written = done == text.size();
    const int savedErrno = errno;
    if (::close(file) != 0 || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
      error = path + ": " + std::strerror(written ? errno : savedErrno);
      ::unlink(temporary.c_str());
      return false;
    }
    return true;
  }

 private:
  // $XDG_STATE_HOME/halyard, or ~/.local/state/halyard; a relative
  // XDG_STATE_HOME is ignored, as the base directory rules say.
  static std::string Folder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') return std::string(state) + "/halyard";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return std::string(home) + "/.local/state/halyard";
    return {};
  }

  static bool MakeFolders(const std::string& folder, std::string& error) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
      const std::string part = folder.substr(0, slash);
      if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
        error = part + ": " + std::strerror(errno);
        return false;
      }
      if (slash == std::string::npos) return true;
    }
  }
};

}  // namespace

PositionStore& PlatformPositionStore() {
  static PosixPositionStore store;
  return store;
}

}  // namespace halyard
