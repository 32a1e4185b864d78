// Running and measuring a process; see process_measure.h.
#include "process_measure.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

Measure runOnce(const std::vector<std::string>& argv, const std::string& directory) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  Measure measure;
  auto start = std::chrono::steady_clock::now();
  pid_t child = fork();
  if (child == 0) {
    int null = open("/dev/null", O_RDWR);
    if (null < 0 || chdir(directory.c_str()) != 0) _exit(127);
    dup2(null, 0);
    dup2(null, 1);
    execvp(args[0], args.data());
    _exit(127);
  }
  if (child < 0) return measure;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return measure;
  auto stop = std::chrono::steady_clock::now();
  auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  measure.seconds = std::chrono::duration<double>(stop - start).count();
  measure.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  measure.megabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
  measure.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return measure;
}
