// Where remember-position keeps the window's position: a small state file in
// the user's own state folder, never the options file.
#pragma once

#include <string>
#include <string_view>

namespace halyard {

class PositionStore {
 public:
  virtual ~PositionStore() = default;
  // The state file's path in the platform's encoding; "" when there is no place for it.
  virtual std::string Path() const = 0;
  // Replaces the file as a whole (a temporary file renamed over it), making
  // its folder if need be; false, with the reason in `error`, when that fails.
  virtual bool Write(std::string_view text, std::string& error) = 0;
};

// The platform's store: $XDG_STATE_HOME/halyard/ (~/.local/state/halyard/) on
// Linux, %LOCALAPPDATA%\HALYARD\ on Windows.
PositionStore& PlatformPositionStore();

}  // namespace halyard
