// A real time server for the tests: chronyd on 127.0.0.1 as a plain server
// with its own files, optionally under libfaketime so that its clock runs a
// set amount ahead of or behind the system's. It never touches the system clock.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace halyard::testing {

class ChronydServer {
 public:
  // `fakeOffset` is libfaketime's form ("+2.5s", "-0.3s"), empty for none;
  // without `localStratum` the server has no time to give.
  ChronydServer(std::uint16_t port, std::string fakeOffset, bool localStratum = true);
  ~ChronydServer();
  ChronydServer(const ChronydServer&) = delete;
  ChronydServer& operator=(const ChronydServer&) = delete;

  // False, with the reason, when chronyd or faketime is not installed or did not start.
  static bool Installed(std::string& why);
  bool Running() const { return pid_ > 0; }
  std::string Address() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  std::uint16_t port_;
  std::string folder_;
  pid_t pid_ = -1;
};

}  // namespace halyard::testing
