// Whole-file replacement through a temporary file; see output_file.h.
#include "output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// The mode an ordinary create would give a new file under the process's
// file-creation mask, or the mode of the file being replaced.
mode_t modeFor(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
  mode_t mask = umask(0);
  umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

WriteResult failure(int error) { return WriteResult{false, std::strerror(error), error}; }

// The pattern for mkstemp: ".tmp.XXXXXX" in the folder of path. The name
// does not grow with the target's, so a target of the longest name a
// folder allows still gets a temporary file beside it.
std::string temporaryPattern(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return folder + ".tmp.XXXXXX";
}

}  // namespace

AtomicOutputFile::AtomicOutputFile(const std::string& path)
    : path_(path), temporary_(temporaryPattern(path)), stream_(nullptr) {
  const mode_t mode = modeFor(path);
  fd_ = mkstemp(&temporary_[0]);
  if (fd_ < 0 || fchmod(fd_, mode) != 0) {
    openError_ = errno;
    return;
  }
  buffer_ = std::make_unique<CheckedOutputBuffer>(fd_, false);
  stream_.rdbuf(buffer_.get());
}

AtomicOutputFile::~AtomicOutputFile() {
  stream_.rdbuf(nullptr);
  buffer_.reset();
  if (fd_ >= 0) {
    close(fd_);
    unlink(temporary_.c_str());
  }
}

WriteResult AtomicOutputFile::commit() {
  if (openError_ != 0) return failure(openError_);
  stream_.flush();
  int error = buffer_->error();
  if (error == 0 && fsync(fd_) != 0) error = errno;
  if (close(fd_) != 0 && error == 0) error = errno;
  fd_ = -1;
  if (error == 0 && rename(temporary_.c_str(), path_.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temporary_.c_str());
    return failure(error);
  }
  return WriteResult{true, std::string(), 0};
}

WriteResult writeFileAtomically(const std::string& path, const std::string& text) {
  AtomicOutputFile file(path);
  file.stream().write(text.data(), static_cast<std::streamsize>(text.size()));
  return file.commit();
}
