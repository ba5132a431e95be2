// Sets LC_CTYPE for the life of a test and puts the previous setting back.
#pragma once

#include <clocale>
#include <string>

namespace halyard::testing {

class LocaleGuard {
 public:
  explicit LocaleGuard(const char* name) {
    const char* previous = std::setlocale(LC_CTYPE, nullptr);
    previous_ = previous != nullptr ? previous : "C";
    ok_ = std::setlocale(LC_CTYPE, name) != nullptr;
  }
  ~LocaleGuard() { std::setlocale(LC_CTYPE, previous_.c_str()); }
  LocaleGuard(const LocaleGuard&) = delete;
  LocaleGuard& operator=(const LocaleGuard&) = delete;
  bool Ok() const { return ok_; }

 private:
  std::string previous_;
  bool ok_ = false;
};

}  // namespace halyard::testing
