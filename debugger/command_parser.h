// The debugger's command language: one command a line, a word and its
// argument, with the names and short forms that people who know other
// debuggers type from habit (r, s, n, c, b, p, l, q; rs and rc to go back).
#pragma once

#include <string>

enum class CommandKind {
  Empty,        // a line of blanks: see ConsoleSession
  Run,          // run, r [< FILE]: from the first record to a breakpoint or the end
  Step,         // step [N], s [N], next [N], n [N]
  Continue,     // continue, c
  Until,        // until [PLACE], u [PLACE]: past the current line, or to PLACE
  Advance,      // advance PLACE
  Break,        // break PLACE, b PLACE
  TBreak,       // tbreak PLACE: a breakpoint deleted once the run stops at it
  Watch,        // watch NAME
  Delete,       // delete [N], d [N]
  InfoBreak,    // info breakpoints (i b, info br, ...; info watchpoints too)
  InfoHistory,  // info history
  InfoDisplay,  // info display
  Print,        // print NAME, p NAME
  Display,      // display [NAME]
  Undisplay,    // undisplay [N]
  Set,          // set var NAME = VALUE
  Vars,
  Stack,
  Flags,
  List,  // list [PLACE], l [PLACE]
  Where,
  ReverseStep,      // reverse-step [N], rs [N]
  ReverseContinue,  // reverse-continue, rc
  Help,             // help [COMMAND], h, ?
  Quit,             // quit, q, exit
  Invalid,          // problem says why
};

struct Command {
  CommandKind kind = CommandKind::Empty;
  // The rest of the line after the command word, blanks trimmed: a place,
  // a name, a command to explain; Run's input file; Set's variable name.
  std::string argument;
  std::string value;             // Set's value, as typed
  unsigned long long count = 1;  // Step's and ReverseStep's number of records
  int number = 0;                // Delete's and Undisplay's number; 0 for all
  std::string problem;           // Invalid: the one line to show
};

// The largest step count a command accepts.
constexpr unsigned long long kMaxStepCount = 1000000000000ULL;

Command parseCommand(const std::string& line);

// The repeatable commands: an empty line right after one carries it out
// again.
bool repeatsOnEmptyLine(CommandKind kind);

// One line for each command, as help lists them.
const char* commandHelp();
// The help line of the command named word (long or short form); nullptr
// when there is none.
const char* commandHelpLine(const std::string& word);
