// The running program's console inside a debugging session: its output
// passes through unchanged while the session notes whether it stopped in
// the middle of a line, and its input is asked for with a prompt of its
// own when the program wants a word and none is left.
#pragma once

#include <functional>
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

// Standard input for the program: when it wants a word and no typed text is
// left, beforePrompt runs (to end the output's line and flush it) and one
// line is read from lines after kProgramInputPrompt. The rest of a line
// stays for the next input, as kivinterp reads standard input. An
// interrupted reading runs onInterrupt and asks again: the record in
// progress cannot stop before it has its word.
class PromptedInput : public std::streambuf {
 public:
  PromptedInput(LineSource& lines, std::function<void()> beforePrompt,
                std::function<void()> onInterrupt)
      : lines_(lines),
        beforePrompt_(std::move(beforePrompt)),
        onInterrupt_(std::move(onInterrupt)) {}
  // Forgets what was typed and not yet taken, for a new run.
  void discard();

 protected:
  int_type underflow() override;

 private:
  LineSource& lines_;
  std::function<void()> beforePrompt_;
  std::function<void()> onInterrupt_;
  std::string buffer_;
};
