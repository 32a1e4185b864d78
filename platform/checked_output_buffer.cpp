// Checked descriptor output; see checked_output_buffer.h.
#include "checked_output_buffer.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

}  // namespace

CheckedOutputBuffer::CheckedOutputBuffer(int fd, bool lineBuffered)
    : fd_(fd), lineBuffered_(lineBuffered) {
  buffer_.reserve(kBufferSize);
}

CheckedOutputBuffer::~CheckedOutputBuffer() { writePending(); }

void CheckedOutputBuffer::setError(int error) {
  if (error_ == 0) error_ = error;
}

bool CheckedOutputBuffer::writePending() {
  std::size_t done = 0;
  while (error_ == 0 && done < buffer_.size()) {
    ssize_t wrote = write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      setError(errno);
      break;
    }
    done += static_cast<std::size_t>(wrote);
  }
  buffer_.clear();
  return error_ == 0;
}

CheckedOutputBuffer::int_type CheckedOutputBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return sync() == 0 ? 0 : c;
  char byte = traits_type::to_char_type(c);
  return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

std::streamsize CheckedOutputBuffer::xsputn(const char* text, std::streamsize count) {
  if (error_ != 0) return count;  // dropped: the failure is already recorded
  std::size_t size = static_cast<std::size_t>(count);
  if (buffer_.size() + size > kBufferSize) writePending();
  buffer_.insert(buffer_.end(), text, text + size);
  if (buffer_.size() >= kBufferSize ||
      (lineBuffered_ && std::find(text, text + size, '\n') != text + size)) {
    writePending();
  }
  return count;
}

int CheckedOutputBuffer::sync() { return writePending() ? 0 : -1; }
