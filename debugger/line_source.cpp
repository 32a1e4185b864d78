// The session's line sources; see line_source.h.
#include "line_source.h"

#include <editline/readline.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>

volatile std::sig_atomic_t interruptRequested = 0;

namespace {

void dropCarriageReturn(std::string& line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
}

}  // namespace

LineResult EchoedLines::readLine(const std::string& prompt, bool, std::string& line) {
  if (!std::getline(in_, line)) return LineResult::End;
  dropCarriageReturn(line);
  out_ << prompt << line << '\n' << std::flush;
  return LineResult::Line;
}

TerminalLines::TerminalLines(bool onStandardError) {
  // Settings in ~/.editrc may name the program.
  rl_readline_name = "kivdebug";
  if (onStandardError) rl_outstream = stderr;
}

LineResult TerminalLines::readLine(const std::string& prompt, bool remember, std::string& line) {
  std::cout.flush();
  char* typed = readline(prompt.c_str());
  if (typed == nullptr) {
    // An interrupt ends the reading as the end of the input does; either
    // way the cursor goes to a line of its own.
    std::fputc('\n', rl_outstream != nullptr ? rl_outstream : stdout);
    std::fflush(rl_outstream != nullptr ? rl_outstream : stdout);
    return interruptRequested != 0 ? LineResult::Interrupted : LineResult::End;
  }
  line = typed;
  std::free(typed);
  dropCarriageReturn(line);
  if (remember && !line.empty()) add_history(line.c_str());
  return LineResult::Line;
}
