// Where a debugging session reads its lines: the commands, and the running
// program's input when no input file was given. At a terminal the lines
// are edited and kept in a history by libedit; elsewhere they are read
// plainly, so that a session can be scripted.
#pragma once

#include <csignal>
#include <iosfwd>
#include <string>

// Set when the user interrupts from the terminal (Ctrl-C) while a session
// runs; whoever acts on it clears it.
extern volatile std::sig_atomic_t interruptRequested;

enum class LineResult {
  Line,         // a line was read
  End,          // the end of the input
  Interrupted,  // the user interrupted the reading; interruptRequested is set
};

class LineSource {
 public:
  virtual ~LineSource() = default;
  // Shows prompt and reads one line, without its line end (a CR before it
  // is dropped too). remember keeps a non-empty line in the history.
  virtual LineResult readLine(const std::string& prompt, bool remember, std::string& line) = 0;
};

// Lines from a stream that is not a terminal. Each line read is written to
// out after its prompt, so that the transcript of a scripted session reads
// as the session went; at the end of the input nothing is written.
class EchoedLines : public LineSource {
 public:
  EchoedLines(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  LineResult readLine(const std::string& prompt, bool remember, std::string& line) override;

 private:
  std::istream& in_;
  std::ostream& out_;
};

// Lines typed at the terminal on standard input, with line editing and
// history. Standard output is flushed before each prompt; the prompt and
// the line being edited are shown on standard output, or on standard error
// with onStandardError (so that standard output keeps only a program's
// own output).
class TerminalLines : public LineSource {
 public:
  explicit TerminalLines(bool onStandardError = false);
  LineResult readLine(const std::string& prompt, bool remember, std::string& line) override;
};
