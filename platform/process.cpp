// Starting another program without a command processor.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "platform.h"

extern char** environ;

namespace {

// Spawn attributes that give the child the default action for the file-size
// signal, which the console programs ignore for themselves.
class DefaultSignals {
 public:
  DefaultSignals() {
    posix_spawnattr_init(&attributes_);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGXFSZ);
    posix_spawnattr_setsigdefault(&attributes_, &defaults);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGDEF);
  }
  ~DefaultSignals() { posix_spawnattr_destroy(&attributes_); }
  DefaultSignals(const DefaultSignals&) = delete;
  DefaultSignals& operator=(const DefaultSignals&) = delete;
  const posix_spawnattr_t* get() const { return &attributes_; }

 private:
  posix_spawnattr_t attributes_;
};

}  // namespace

StartResult SystemProgramStarter::run(const std::vector<std::string>& argv) {
  StartResult result;
  if (argv.empty()) {
    result.reason = std::strerror(EINVAL);
    return result;
  }
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  std::cout.flush();
  std::fflush(stdout);
  DefaultSignals signals;
  pid_t child = 0;
  int error = posix_spawnp(&child, args[0], nullptr, signals.get(), args.data(), environ);
  if (error != 0) {
    result.reason = std::strerror(error);
    return result;
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.started = true;
  result.succeeded = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return result;
}
