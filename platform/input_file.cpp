// One-pass reading of input files; see input_file.h.
#include "input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// Closes the descriptor on every path out of readInputFile.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

InputFile failed(InputStatus status, int error) {
  InputFile file;
  file.status = status;
  if (error != 0) file.reason = std::strerror(error);
  return file;
}

}  // namespace

InputFile readInputFile(const std::string& path, int64_t limit) {
  Descriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) return failed(InputStatus::NotFound, errno);
  struct stat info {};
  if (fstat(fd.get(), &info) != 0) return failed(InputStatus::ReadFailed, errno);
  if (S_ISDIR(info.st_mode)) return failed(InputStatus::NotFound, EISDIR);
  // A regular file says its size up front; anything else (a pipe, a FIFO, a
  // device) is measured while it is read.
  if (S_ISREG(info.st_mode) && info.st_size >= limit) return failed(InputStatus::TooLarge, 0);

  InputFile file;
  if (S_ISREG(info.st_mode)) file.text.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[1 << 16];
  for (;;) {
    ssize_t got = read(fd.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return failed(InputStatus::ReadFailed, errno);
    }
    if (got == 0) break;
    if (static_cast<int64_t>(file.text.size()) + got >= limit) {
      return failed(InputStatus::TooLarge, 0);
    }
    file.text.append(buffer, static_cast<std::size_t>(got));
  }
  file.status = InputStatus::Read;
  return file;
}
