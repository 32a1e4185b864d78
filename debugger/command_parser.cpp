// The debugger's command language; see command_parser.h.
#include "command_parser.h"

#include <cctype>
#include <cstring>

#include "program_map.h"

namespace {

struct CommandName {
  const char* name;
  const char* shortName;  // nullptr when there is none
  CommandKind kind;
  const char* help;
};

// The commands in the order help lists them.
const CommandName kCommands[] = {
    {"run", "r", CommandKind::Run,
     "run, r           start the program from its first record; stop at a breakpoint"},
    {"step", "s", CommandKind::Step,
     "step [N], s [N]  carry out the next record, or the next N records"},
    {"continue", "c", CommandKind::Continue,
     "continue, c      go on to the next breakpoint or the end"},
    {"break", "b", CommandKind::Break,
     "break PLACE, b   stop before a source line, a label, or #N (record N)"},
    {"delete", "d", CommandKind::Delete,
     "delete [N], d    remove breakpoint N, or every breakpoint"},
    {"info", nullptr, CommandKind::InfoBreak, "info break       list the breakpoints"},
    {"print", "p", CommandKind::Print, "print NAME, p    show a variable's value"},
    {"vars", nullptr, CommandKind::Vars, "vars             show every variable"},
    {"stack", nullptr, CommandKind::Stack, "stack            show the stack, top first"},
    {"flags", nullptr, CommandKind::Flags, "flags            show the six flags the last cmp set"},
    {"list", "l", CommandKind::List,
     "list [LINE], l   show the lines around LINE, or around where the run stands"},
    {"where", nullptr, CommandKind::Where, "where            show where the run stands"},
    {"help", nullptr, CommandKind::Help, "help             show this list"},
    {"quit", "q", CommandKind::Quit, "quit, q          end the session"},
};

const CommandName* findCommand(const std::string& word) {
  for (const CommandName& command : kCommands) {
    if (word == command.name || (command.shortName != nullptr && word == command.shortName)) {
      return &command;
    }
  }
  return nullptr;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

Command invalid(const std::string& problem) {
  Command command;
  command.kind = CommandKind::Invalid;
  command.problem = problem;
  return command;
}

}  // namespace

Command parseCommand(const std::string& line) {
  std::size_t start = 0;
  while (start < line.size() && isBlank(line[start])) ++start;
  std::size_t end = line.size();
  while (end > start && isBlank(line[end - 1])) --end;
  Command command;
  if (start == end) return command;

  std::size_t wordEnd = start;
  while (wordEnd < end && !isBlank(line[wordEnd])) ++wordEnd;
  std::string word = line.substr(start, wordEnd - start);
  for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::size_t argumentStart = wordEnd;
  while (argumentStart < end && isBlank(line[argumentStart])) ++argumentStart;
  const std::string argument = line.substr(argumentStart, end - argumentStart);

  const CommandName* name = findCommand(word);
  if (name == nullptr) {
    return invalid("unknown command \"" + line.substr(start, wordEnd - start) +
                   "\": \"help\" lists the commands");
  }
  const std::string called = name->name;
  command.kind = name->kind;
  command.argument = argument;
  switch (name->kind) {
    case CommandKind::Step:
      if (!argument.empty() &&
          (!parseCount(argument, kMaxStepCount, command.count) || command.count == 0)) {
        return invalid("\"step\" takes a number of records, such as \"step 5\"");
      }
      break;
    case CommandKind::Break:
      if (argument.empty()) {
        return invalid("\"break\" needs a place: a line number, a label, or #N for record N");
      }
      break;
    case CommandKind::Delete:
      if (!argument.empty()) {
        unsigned long long number = 0;
        if (!parseCount(argument, 0x7fffffff, number) || number == 0) {
          return invalid("\"delete\" takes a breakpoint number, or nothing to delete them all");
        }
        command.breakpoint = static_cast<int>(number);
      }
      break;
    case CommandKind::InfoBreak:
      if (argument != "break" && argument != "b" && argument != "breakpoints") {
        return invalid("\"info\" knows only \"info break\"");
      }
      command.argument.clear();
      break;
    case CommandKind::Print:
      if (argument.empty())
        return invalid("\"print\" needs a variable name, such as \"print total\"");
      break;
    case CommandKind::List:
    case CommandKind::Help:
      break;
    default:
      if (!argument.empty()) return invalid("\"" + called + "\" takes no argument");
      break;
  }
  return command;
}

const char* commandHelp() {
  static const std::string text = [] {
    std::string lines;
    for (const CommandName& command : kCommands) lines += std::string(command.help) + "\n";
    lines += "An empty line repeats the last step or continue.\n";
    return lines;
  }();
  return text.c_str();
}

const char* commandHelpLine(const std::string& word) {
  std::string lower = word;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const CommandName* command = findCommand(lower);
  return command == nullptr ? nullptr : command->help;
}
