#include "backends/posix/ChronydServer.h"

#include <signal.h>
#include <spawn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace halyard::testing {
namespace {

std::string Chronyd() {
  for (const char* path : {"/usr/sbin/chronyd", "/sbin/chronyd", "/usr/local/sbin/chronyd"}) {
    if (access(path, X_OK) == 0) return path;
  }
  return "";
}

// libfaketime itself, so that chronyd is this process's child and nothing between.
std::string FakeTimeLibrary() {
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/usr/lib", error)) {
    const std::filesystem::path candidate = entry.path() / "faketime" / "libfaketime.so.1";
    if (std::filesystem::exists(candidate, error)) return candidate.string();
  }
  return "";
}

}  // namespace

bool ChronydServer::Installed(std::string& why) {
  if (Chronyd().empty()) why = "chronyd is not installed (scripts/setup.sh installs chrony)";
  else if (FakeTimeLibrary().empty()) why = "libfaketime is not installed (scripts/setup.sh installs faketime)";
  else return true;
  return false;
}

ChronydServer::ChronydServer(std::uint16_t port, std::string fakeOffset, bool localStratum) : port_(port) {
  char pattern[] = "/tmp/halyard-chronyd-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return;
  folder_ = pattern;
  const std::string config = folder_ + "/chrony.conf";
  {
    std::ofstream out(config);
    out << "port " << port << "\nbindaddress 127.0.0.1\nallow 127.0.0.1\ncmdport 0\n"
        << "pidfile " << folder_ << "/chronyd.pid\ndriftfile " << folder_ << "/drift\n";
    if (localStratum) out << "local stratum 8\n";
  }
  // -x: the system clock is never touched; -d: in the foreground, logging to stderr.
  std::vector<std::string> args = {Chronyd(), "-x", "-d", "-f", config};
  // As root it would switch to its own user, who may not write the folder.
  if (geteuid() == 0) args.insert(args.end(), {"-u", "root"});
  else args.emplace_back("-U");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<std::string> env = {"PATH=/usr/sbin:/usr/bin:/sbin:/bin"};
  if (!fakeOffset.empty()) {
    env.insert(env.end(), {"LD_PRELOAD=" + FakeTimeLibrary() + ":" + HALYARD_NO_PACKET_TIMESTAMPS, "FAKETIME=" + fakeOffset});
  }
  std::vector<char*> envp;
  for (std::string& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, (folder_ + "/chronyd.log").c_str(), O_WRONLY | O_CREAT, 0644);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
  // Serving once its log says the clock is left alone; the client's burst
  // covers the rest of its start.
  for (int i = 0; i < 100 && pid_ > 0; ++i) {
    std::ifstream log(folder_ + "/chronyd.log");
    const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
    if (text.find("Disabled control of system clock") != std::string::npos) break;
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = -1;
    std::this_thread::sleep_for(std::chrono::milliseconds{50});
  }
}

ChronydServer::~ChronydServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

}  // namespace halyard::testing
