// The running program's console in kivdebug: its output passes through to
// the terminal while kivdebug notes whether it stopped in the middle of a
// line, and its input comes from a source asked for more text only when
// the program waits for a word that is not there yet.
#pragma once

#include <functional>
#include <iosfwd>
#include <streambuf>
#include <string>

#include "line_source.h"

// The prompt that tells the program, not the debugger, is waiting.
constexpr char kProgramInputPrompt[] = "program input> ";

// Forwards every byte to target at once and keeps whether the last one
// ended a line, so that the debugger can start its own lines on a line of
// their own.
class LineTrackingOutput : public std::streambuf {
 public:
  explicit LineTrackingOutput(std::streambuf* target) : target_(target) {}
  bool midLine() const { return midLine_; }
  // The debugger ended the line itself.
  void lineEnded() { midLine_ = false; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;
  int sync() override;

 private:
  std::streambuf* target_;
  bool midLine_ = false;
};

// Where the program's input comes from, asked when the program waits.
class ProgramInput {
 public:
  virtual ~ProgramInput() = default;
  enum class Result {
    Text,         // text holds more input: a line and its line end
    End,          // there is no more
    Interrupted,  // the user interrupted the wait; ask again later
  };
  virtual Result more(std::string& text) = 0;
};

// No input beyond what was fed at the start (an input file's text).
class NoMoreInput : public ProgramInput {
 public:
  Result more(std::string&) override { return Result::End; }
};

// Lines of a stream that is not a terminal, read as the program asks.
class StreamInput : public ProgramInput {
 public:
  explicit StreamInput(std::istream& in) : in_(in) {}
  Result more(std::string& text) override;

 private:
  std::istream& in_;
};

// Lines read from a line source after kProgramInputPrompt; beforePrompt
// runs first (to end the output's line and flush it).
class PromptedLines : public ProgramInput {
 public:
  PromptedLines(LineSource& lines, std::function<void()> beforePrompt)
      : lines_(lines), beforePrompt_(std::move(beforePrompt)) {}
  Result more(std::string& text) override;

 private:
  LineSource& lines_;
  std::function<void()> beforePrompt_;
};
