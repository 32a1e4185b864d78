// The command language, one table row a line typed.
#include "command_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "kivdebug_options.h"

namespace {

// A command in one line of text: its kind and what it carries.
std::string parsed(const std::string& line) {
  const Command command = parseCommand(line);
  switch (command.kind) {
    case CommandKind::Empty:
      return "empty";
    case CommandKind::Run:
      return "run";
    case CommandKind::Step:
      return "step " + std::to_string(command.count);
    case CommandKind::Continue:
      return "continue";
    case CommandKind::Break:
      return "break [" + command.argument + "]";
    case CommandKind::Delete:
      return "delete " + std::to_string(command.breakpoint);
    case CommandKind::InfoBreak:
      return "info break";
    case CommandKind::Print:
      return "print [" + command.argument + "]";
    case CommandKind::Vars:
      return "vars";
    case CommandKind::Stack:
      return "stack";
    case CommandKind::Flags:
      return "flags";
    case CommandKind::List:
      return "list [" + command.argument + "]";
    case CommandKind::Where:
      return "where";
    case CommandKind::Help:
      return "help [" + command.argument + "]";
    case CommandKind::Quit:
      return "quit";
    case CommandKind::Invalid:
      return "invalid: " + command.problem;
  }
  return "?";
}

TEST(CommandParser, ReadsEveryCommandAndItsShortForm) {
  struct Case {
    const char* line;
    const char* wanted;
  } cases[] = {
      {"", "empty"},
      {" \t ", "empty"},
      {"run", "run"},
      {"r", "run"},
      {"step", "step 1"},
      {"s", "step 1"},
      {"step 5", "step 5"},
      {"s   12  ", "step 12"},
      {"continue", "continue"},
      {"c", "continue"},
      {"break 12", "break [12]"},
      {"b top", "break [top]"},
      {"b #4", "break [#4]"},
      {"delete", "delete 0"},
      {"delete 2", "delete 2"},
      {"d 3", "delete 3"},
      {"info break", "info break"},
      {"info b", "info break"},
      {"info breakpoints", "info break"},
      {"print total", "print [total]"},
      {"p total", "print [total]"},
      {"vars", "vars"},
      {"stack", "stack"},
      {"flags", "flags"},
      {"list", "list []"},
      {"l 20", "list [20]"},
      {"list top", "list [top]"},
      {"where", "where"},
      {"help", "help []"},
      {"help step", "help [step]"},
      {"quit", "quit"},
      {"q", "quit"},
      // Command words in any case, and a CR from a CR LF script.
      {"STEP 2", "step 2"},
      {"Print Total\r", "print [Total]"},
      {"  c  ", "continue"},
  };
  for (const Case& c : cases) EXPECT_EQ(parsed(c.line), c.wanted) << "line: " << c.line;
}

TEST(CommandParser, SaysInOneLineWhatItCannotUnderstand) {
  struct Case {
    const char* line;
    const char* wanted;
  } cases[] = {
      {"jump", "unknown command \"jump\": \"help\" lists the commands"},
      {"Steps 2", "unknown command \"Steps\": \"help\" lists the commands"},
      {"step x", "\"step\" takes a number of records, such as \"step 5\""},
      {"step 0", "\"step\" takes a number of records, such as \"step 5\""},
      {"step -1", "\"step\" takes a number of records, such as \"step 5\""},
      {"step 99999999999999999999", "\"step\" takes a number of records, such as \"step 5\""},
      {"step 2 3", "\"step\" takes a number of records, such as \"step 5\""},
      {"break", "\"break\" needs a place: a line number, a label, or #N for record N"},
      {"delete x", "\"delete\" takes a breakpoint number, or nothing to delete them all"},
      {"delete 0", "\"delete\" takes a breakpoint number, or nothing to delete them all"},
      {"info", "\"info\" knows only \"info break\""},
      {"info vars", "\"info\" knows only \"info break\""},
      {"print", "\"print\" needs a variable name, such as \"print total\""},
      {"run now", "\"run\" takes no argument"},
      {"c 2", "\"continue\" takes no argument"},
      {"vars x", "\"vars\" takes no argument"},
      {"stack 1", "\"stack\" takes no argument"},
      {"flags x", "\"flags\" takes no argument"},
      {"where x", "\"where\" takes no argument"},
      {"q now", "\"quit\" takes no argument"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parsed(c.line), "invalid: " + std::string(c.wanted)) << "line: " << c.line;
  }
}

TEST(CommandParser, HelpHasALineForEveryCommand) {
  const std::string help = commandHelp();
  for (const char* word : {"run", "step", "continue", "break", "delete", "info", "print", "vars",
                           "stack", "flags", "list", "where", "help", "quit"}) {
    const char* line = commandHelpLine(word);
    ASSERT_NE(line, nullptr) << word;
    EXPECT_EQ(std::string(line).rfind(word, 0), 0u) << line;
    EXPECT_NE(help.find(std::string(line) + "\n"), std::string::npos) << word;
  }
  EXPECT_STREQ(commandHelpLine("s"), commandHelpLine("step"));
  EXPECT_EQ(commandHelpLine("jump"), nullptr);
}

// The command line, one table row an argument list.
std::string options(const std::vector<std::string>& args) {
  KivdebugOptions o;
  std::string problem;
  if (!parseKivdebugOptions(args, o, problem)) return problem;
  std::string text = "program=" + o.program;
  if (o.hasInput) text += " input=" + o.inputPath;
  if (o.run) text += " run";
  if (o.trace) text += " trace";
  if (o.limited) text += " max=" + std::to_string(o.maxSteps);
  if (o.help) text += " help";
  text += o.batch() ? " batch" : " session";
  return text;
}

TEST(KivdebugOptions, ReadsTheCommandLine) {
  struct Case {
    std::vector<std::string> args;
    const char* wanted;
  } cases[] = {
      {{"p.kiv"}, "program=p.kiv session"},
      {{"--input", "in.txt", "p.tarnel"}, "program=p.tarnel input=in.txt session"},
      {{"p.tarnel", "--input=in.txt"}, "program=p.tarnel input=in.txt session"},
      {{"--run", "p.kiv"}, "program=p.kiv run batch"},
      {{"--trace", "p.kiv"}, "program=p.kiv trace batch"},
      {{"--max-steps", "100", "p.kiv"}, "program=p.kiv max=100 batch"},
      {{"--max-steps=7", "--trace", "p.kiv"}, "program=p.kiv trace max=7 batch"},
      {{"--", "--odd.tarnel"}, "program=--odd.tarnel session"},
      {{"-"}, "program=- session"},
      {{"--help"}, "program= help session"},
      {{}, "kivdebug: name the program to debug, a .kiv or a .tarnel file"},
      {{"a.kiv", "b.kiv"}, "kivdebug: one program only, and \"b.kiv\" is a second"},
      {{"--fast", "a.kiv"}, "kivdebug: unknown option \"--fast\""},
      {{"a.kiv", "--input"}, "kivdebug: --input needs a file name"},
      {{"--input=", "a.kiv"}, "kivdebug: --input needs a file name"},
      {{"--max-steps", "0", "a.kiv"},
       "kivdebug: --max-steps needs a number of records above 0, such as --max-steps 100000"},
      {{"--max-steps", "x", "a.kiv"},
       "kivdebug: --max-steps needs a number of records above 0, such as --max-steps 100000"},
      {{"a.kiv", "--max-steps"},
       "kivdebug: --max-steps needs a number of records above 0, such as --max-steps 100000"},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& arg : c.args) shown += "[" + arg + "]";
    EXPECT_EQ(options(c.args), c.wanted) << "arguments: " << shown;
  }
}

}  // namespace
