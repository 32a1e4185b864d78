// The debugger's command language: one command a line, a word and its
// argument, most commands with a short form as debuggers people know have
// (r, s, c, b, p, l, q).
#pragma once

#include <string>

enum class CommandKind {
  Empty,      // a line of blanks: repeats the last step or continue
  Run,        // run, r: from the first record to a breakpoint or the end
  Step,       // step [N], s [N]
  Continue,   // continue, c
  Break,      // break PLACE, b PLACE
  Delete,     // delete [N], d [N]
  InfoBreak,  // info break
  Print,      // print NAME, p NAME
  Vars,
  Stack,
  Flags,
  List,  // list [PLACE], l [PLACE]
  Where,
  Help,     // help [COMMAND]
  Quit,     // quit, q
  Invalid,  // problem says why
};

struct Command {
  CommandKind kind = CommandKind::Empty;
  // The rest of the line after the command word, blanks trimmed: Break's
  // and List's place, Print's name, Help's command.
  std::string argument;
  unsigned long long count = 1;  // Step's number of steps
  int breakpoint = 0;            // Delete's breakpoint number; 0 for all
  std::string problem;           // Invalid: the one line to show
};

// The largest step count a command accepts.
constexpr unsigned long long kMaxStepCount = 1000000000000ULL;

Command parseCommand(const std::string& line);

// One line for each command, as help lists them.
const char* commandHelp();
// The help line of the command named word (long or short form); nullptr
// when there is none.
const char* commandHelpLine(const std::string& word);
