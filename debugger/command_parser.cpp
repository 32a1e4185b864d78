// The debugger's command language; see command_parser.h.
#include "command_parser.h"

#include <cctype>
#include <cstring>

#include "program_map.h"

namespace {

struct CommandName {
  const char* name;
  const char* shortName;  // nullptr when there is none
  const char* otherName;  // a second name people type; nullptr when there is none
  CommandKind kind;
  const char* help;
};

// The commands in the order help lists them.
const CommandName kCommands[] = {
    {"run", "r", nullptr, CommandKind::Run,
     "run [< FILE], r  start the program from its first record (its input from FILE)"},
    {"step", "s", nullptr, CommandKind::Step,
     "step [N], s      carry out the next record, or the next N records"},
    {"next", "n", nullptr, CommandKind::Step,
     "next [N], n      the same as step: a program has no calls to step over"},
    {"continue", "c", nullptr, CommandKind::Continue,
     "continue, c      go on to the next breakpoint or the end"},
    {"until", "u", nullptr, CommandKind::Until,
     "until [LINE], u  go on to LINE, or past the current line (out of a loop)"},
    {"advance", nullptr, nullptr, CommandKind::Advance, "advance LINE     go on to LINE"},
    {"break", "b", nullptr, CommandKind::Break,
     "break PLACE, b   stop before a line (or FILE:LINE), a label, or #N (record N)"},
    {"tbreak", nullptr, nullptr, CommandKind::TBreak,
     "tbreak PLACE     the same, once: deleted when the run stops there"},
    {"watch", nullptr, nullptr, CommandKind::Watch,
     "watch NAME       stop when a variable's value changes"},
    {"delete", "d", nullptr, CommandKind::Delete,
     "delete [N], d    remove breakpoint or watchpoint N, or all of them"},
    {"info", "i", nullptr, CommandKind::InfoBreak,
     "info WHAT, i     info breakpoints (i b), info history, info display"},
    {"print", "p", nullptr, CommandKind::Print, "print NAME, p    show a variable's value"},
    {"display", nullptr, nullptr, CommandKind::Display,
     "display [NAME]   show a variable at every stop; alone, show them now"},
    {"undisplay", nullptr, nullptr, CommandKind::Undisplay,
     "undisplay [N]    stop showing display N, or every display"},
    {"set", nullptr, nullptr, CommandKind::Set,
     "set var N = V    give the variable N the value V, as a literal V would"},
    {"vars", nullptr, nullptr, CommandKind::Vars, "vars             show every variable"},
    {"stack", nullptr, nullptr, CommandKind::Stack, "stack            show the stack, top first"},
    {"flags", nullptr, nullptr, CommandKind::Flags,
     "flags            show the six flags the last cmp set"},
    {"list", "l", nullptr, CommandKind::List,
     "list [LINE], l   show the lines around LINE, or around where the run stands"},
    {"where", nullptr, nullptr, CommandKind::Where, "where            show where the run stands"},
    {"reverse-step", "rs", nullptr, CommandKind::ReverseStep,
     "reverse-step [N], rs  step back over the last record, or the last N"},
    {"reverse-continue", "rc", nullptr, CommandKind::ReverseContinue,
     "reverse-continue, rc  step back to the previous breakpoint or the start"},
    {"help", "h", "?", CommandKind::Help, "help [COMMAND], h, ?  show this list, or one line"},
    {"quit", "q", "exit", CommandKind::Quit, "quit, q, exit    end the session"},
};

const CommandName* findCommand(const std::string& word) {
  for (const CommandName& command : kCommands) {
    if (word == command.name || (command.shortName != nullptr && word == command.shortName) ||
        (command.otherName != nullptr && word == command.otherName)) {
      return &command;
    }
  }
  return nullptr;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string trimmed(const std::string& text) {
  std::size_t start = 0;
  while (start < text.size() && isBlank(text[start])) ++start;
  std::size_t end = text.size();
  while (end > start && isBlank(text[end - 1])) --end;
  return text.substr(start, end - start);
}

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// word is a non-empty beginning of whole, as gdb takes "i b" for "info
// breakpoints".
bool startsWhole(const std::string& word, const char* whole) {
  return !word.empty() && std::strncmp(whole, word.c_str(), word.size()) == 0 &&
         word.size() <= std::strlen(whole);
}

Command invalid(const std::string& problem) {
  Command command;
  command.kind = CommandKind::Invalid;
  command.problem = problem;
  return command;
}

// info WHAT: its subcommand, by any beginning of its name.
Command parseInfo(Command command) {
  const std::string what = lowerCase(command.argument);
  command.argument.clear();
  if (what == "break" || startsWhole(what, "breakpoints") || startsWhole(what, "watchpoints")) {
    command.kind = CommandKind::InfoBreak;
  } else if (startsWhole(what, "history")) {
    command.kind = CommandKind::InfoHistory;
  } else if (startsWhole(what, "display")) {
    command.kind = CommandKind::InfoDisplay;
  } else {
    return invalid(
        "\"info\" knows \"info breakpoints\" (\"i b\"), \"info history\" and "
        "\"info display\"");
  }
  return command;
}

// set var NAME = VALUE (also "set variable").
Command parseSet(Command command) {
  const char* problem = "\"set\" knows \"set var NAME = VALUE\", such as \"set var total = 0\"";
  std::string rest = command.argument;
  std::size_t wordEnd = 0;
  while (wordEnd < rest.size() && !isBlank(rest[wordEnd]) && rest[wordEnd] != '=') ++wordEnd;
  const std::string word = lowerCase(rest.substr(0, wordEnd));
  if (word != "var" && word != "variable") return invalid(problem);
  rest = rest.substr(wordEnd);
  const std::size_t equals = rest.find('=');
  if (equals == std::string::npos) return invalid(problem);
  command.argument = trimmed(rest.substr(0, equals));
  command.value = trimmed(rest.substr(equals + 1));
  if (command.argument.empty()) return invalid(problem);
  return command;
}

bool parseNumber(const std::string& text, unsigned long long limit, unsigned long long& value) {
  return parseCount(text, limit, value) && value > 0;
}

}  // namespace

Command parseCommand(const std::string& line) {
  const std::string text = trimmed(line);
  Command command;
  if (text.empty()) return command;

  std::size_t wordEnd = 0;
  while (wordEnd < text.size() && !isBlank(text[wordEnd])) ++wordEnd;
  const std::string typed = text.substr(0, wordEnd);
  const std::string argument = trimmed(text.substr(wordEnd));

  const CommandName* name = findCommand(lowerCase(typed));
  if (name == nullptr) {
    return invalid("unknown command \"" + typed + "\": \"help\" lists the commands");
  }
  const std::string called = name->name;
  command.kind = name->kind;
  command.argument = argument;
  switch (name->kind) {
    case CommandKind::Run:
      if (argument.empty()) break;
      if (argument[0] == '<' && !trimmed(argument.substr(1)).empty()) {
        command.argument = trimmed(argument.substr(1));
        break;
      }
      return invalid("\"run\" takes no argument, or < FILE to read the program's input from");
    case CommandKind::Step:
    case CommandKind::ReverseStep:
      if (!argument.empty() && !parseNumber(argument, kMaxStepCount, command.count)) {
        return invalid("\"" + called + "\" takes a number of records, such as \"" + called +
                       " 5\"");
      }
      break;
    case CommandKind::Break:
    case CommandKind::TBreak:
    case CommandKind::Advance:
      if (argument.empty()) {
        return invalid("\"" + called +
                       "\" needs a place: a line number, a label, or #N for record N");
      }
      break;
    case CommandKind::Watch:
    case CommandKind::Print:
      if (argument.empty()) {
        return invalid("\"" + called + "\" needs a variable name, such as \"" + called +
                       " total\"");
      }
      break;
    case CommandKind::Delete:
    case CommandKind::Undisplay:
      if (!argument.empty()) {
        unsigned long long number = 0;
        if (!parseNumber(argument, 0x7fffffff, number)) {
          return invalid(name->kind == CommandKind::Delete
                             ? "\"delete\" takes a breakpoint number, or nothing to delete them all"
                             : "\"undisplay\" takes a display number, or nothing for every one");
        }
        command.number = static_cast<int>(number);
      }
      break;
    case CommandKind::InfoBreak:
      return parseInfo(command);
    case CommandKind::Set:
      return parseSet(command);
    case CommandKind::Until:
    case CommandKind::Display:
    case CommandKind::List:
    case CommandKind::Help:
      break;
    default:
      if (!argument.empty()) return invalid("\"" + called + "\" takes no argument");
      break;
  }
  return command;
}

bool repeatsOnEmptyLine(CommandKind kind) {
  return kind == CommandKind::Step || kind == CommandKind::Continue ||
         kind == CommandKind::ReverseStep || kind == CommandKind::ReverseContinue;
}

const char* commandHelp() {
  static const std::string text = [] {
    std::string lines;
    for (const CommandName& command : kCommands) lines += std::string(command.help) + "\n";
    lines +=
        "An empty line repeats a step, next, continue or reverse command given just before,\n"
        "and after list shows the next lines.\n";
    return lines;
  }();
  return text.c_str();
}

const char* commandHelpLine(const std::string& word) {
  const CommandName* command = findCommand(lowerCase(word));
  return command == nullptr ? nullptr : command->help;
}
