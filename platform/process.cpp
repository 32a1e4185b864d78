// Starting another program without a command processor.
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "platform.h"

extern char** environ;

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
  pid_t child = 0;
  int error = posix_spawnp(&child, args[0], nullptr, nullptr, args.data(), environ);
  if (error != 0) {
    result.reason = std::strerror(error);
    return result;
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.started = true;
  return result;
}
