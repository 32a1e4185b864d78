// The running program's console inside the debugging core: an input queue
// that the front end feeds and that never blocks, and an output record
// that keeps what the program writes until the front end takes it. Both
// are stream buffers, so the engine reads and writes them as it would the
// console.
#pragma once

#include <cstdint>
#include <streambuf>
#include <string>
#include <string_view>

// Text for the program's input, read by the engine's word extraction. The
// get area always spans the whole queue, so a read never waits: with the
// queue read out the stream sees its end. Positions are counted from the
// first byte ever fed in this run.
class InputQueue : public std::streambuf {
 public:
  InputQueue();
  // Appends text; nothing after end().
  void feed(std::string_view text);
  void end() { ended_ = true; }
  bool ended() const { return ended_; }
  // A whole word is queued: after white space, bytes that are not white
  // space, ended by white space or by the end of input.
  bool hasWord() const;
  // Bytes read so far.
  uint64_t offset() const;
  // Gives back what was read since offset (at most offset()), so that it is
  // read again.
  void rewind(uint64_t offset);
  // The text not read yet.
  std::string pending() const;
  // Empties the queue and forgets the end of input, for a new run.
  void clear();

 protected:
  int_type underflow() override;

 private:
  void setArea(std::size_t read);
  std::size_t readNow() const { return static_cast<std::size_t>(gptr() - eback()); }

  std::string text_;
  bool ended_ = false;
};

// White space as the console's word extraction sees it.
bool isInputSpace(char c);

// What the program writes, kept until taken, with the length of all it
// wrote in this run.
class OutputRecord : public std::streambuf {
 public:
  // The text written since the last call.
  std::string take();
  uint64_t length() const { return length_; }
  // Takes the length back to length (at most length()): the text not yet
  // taken is cut as far as it reaches.
  void cutTo(uint64_t length);
  void clear();

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;

 private:
  std::string pending_;
  uint64_t length_ = 0;
};
