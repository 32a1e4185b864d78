// A stream buffer over one file descriptor that keeps the first failure of
// a write, for standard output and for output files alike.
#pragma once

#include <streambuf>
#include <vector>

// A buffer over one file descriptor that remembers the first write that
// failed. Line-buffered when asked (a terminal), so each console line shows
// when it ends, and fully buffered otherwise. Once a write has failed the
// rest of the output is dropped.
class CheckedOutputBuffer : public std::streambuf {
 public:
  CheckedOutputBuffer(int fd, bool lineBuffered);
  ~CheckedOutputBuffer() override;
  CheckedOutputBuffer(const CheckedOutputBuffer&) = delete;
  CheckedOutputBuffer& operator=(const CheckedOutputBuffer&) = delete;

  // The errno of the first write that failed, or 0.
  int error() const { return error_; }
  // Records a failure found elsewhere (a descriptor closed at start).
  void setError(int error);

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  bool writePending();

  int fd_;
  bool lineBuffered_;
  int error_ = 0;
  std::vector<char> buffer_;
};
