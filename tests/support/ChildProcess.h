// A program of this build run by a POSIX test, with SIGINT and SIGTERM as a
// shell would give them, and its end awaited with a limit.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace halyard::testing {

// Starts `args`; its standard output and error go to the files named, if any.
// -1 when it cannot be started.
inline pid_t Spawn(const std::vector<std::string>& args, const std::string& outPath = "",
                   const std::string& errPath = "") {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, reset;
  sigemptyset(&none);
  sigemptyset(&reset);
  sigaddset(&reset, SIGINT);
  sigaddset(&reset, SIGTERM);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &reset);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  if (!outPath.empty()) posix_spawn_file_actions_addopen(&files, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (!errPath.empty()) posix_spawn_file_actions_addopen(&files, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &files, &attributes, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&files);
  posix_spawnattr_destroy(&attributes);
  return pid;
}

// The exit status, or nothing if the process had to be killed after `seconds`.
inline std::optional<int> WaitForExit(pid_t pid, int seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  int status = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    if (waitpid(pid, &status, WNOHANG) == pid) {
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return std::nullopt;
}

}  // namespace halyard::testing
