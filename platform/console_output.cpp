// Checked standard output; see console_output.h.
#include "console_output.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace {

bool isOpen(int fd) { return fcntl(fd, F_GETFD) != -1 || errno != EBADF; }

// Points a closed descriptor at /dev/null; false when it was closed.
bool keepOpen(int fd, int flags) {
  if (isOpen(fd)) return true;
  int null = open("/dev/null", flags | O_CLOEXEC);
  if (null >= 0 && null != fd) {
    dup2(null, fd);
    close(null);
  } else if (null == fd) {
    // The lowest free descriptor was this one; keep it across exec as the
    // standard descriptors are kept.
    fcntl(fd, F_SETFD, 0);
  }
  return false;
}

CheckedOutputBuffer* consoleBuffer = nullptr;
std::streambuf* originalBuffer = nullptr;

}  // namespace

void setUpConsoleOutput() {
  keepOpen(STDIN_FILENO, O_RDONLY);
  bool outputOpen = keepOpen(STDOUT_FILENO, O_WRONLY);
  keepOpen(STDERR_FILENO, O_WRONLY);
  signal(SIGXFSZ, SIG_IGN);

  static CheckedOutputBuffer buffer(STDOUT_FILENO, isatty(STDOUT_FILENO) != 0);
  if (!outputOpen) buffer.setError(EBADF);
  consoleBuffer = &buffer;
  originalBuffer = std::cout.rdbuf(&buffer);
}

int finishConsoleOutput(const char* program, int status, int failedStatus) {
  if (consoleBuffer == nullptr) return status;
  std::cout.flush();
  std::cout.rdbuf(originalBuffer);
  const int error = consoleBuffer->error();
  consoleBuffer = nullptr;
  if (error == 0) return status;
  if (error != EPIPE) std::fprintf(stderr, "%s: write error: %s\n", program, std::strerror(error));
  return failedStatus;
}
