// The command language, one table row a line typed.
#include "command_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "kivdebug_options.h"

namespace {

// A command in one line of text: its kind and what it carries.
std::string parsed(const std::string& line) {
  const Command c = parseCommand(line);
  const std::string argument = "[" + c.argument + "]";
  switch (c.kind) {
    case CommandKind::Empty:
      return "empty";
    case CommandKind::Run:
      return c.argument.empty() ? "run" : "run < " + argument;
    case CommandKind::Step:
      return "step " + std::to_string(c.count);
    case CommandKind::Continue:
      return "continue";
    case CommandKind::Until:
      return "until " + argument;
    case CommandKind::Advance:
      return "advance " + argument;
    case CommandKind::Break:
      return "break " + argument;
    case CommandKind::TBreak:
      return "tbreak " + argument;
    case CommandKind::Watch:
      return "watch " + argument;
    case CommandKind::Delete:
      return "delete " + std::to_string(c.number);
    case CommandKind::InfoBreak:
      return "info breakpoints";
    case CommandKind::InfoHistory:
      return "info history";
    case CommandKind::InfoDisplay:
      return "info display";
    case CommandKind::Print:
      return "print " + argument;
    case CommandKind::Display:
      return "display " + argument;
    case CommandKind::Undisplay:
      return "undisplay " + std::to_string(c.number);
    case CommandKind::Set:
      return "set " + argument + " = [" + c.value + "]";
    case CommandKind::Vars:
      return "vars";
    case CommandKind::Stack:
      return "stack";
    case CommandKind::Flags:
      return "flags";
    case CommandKind::List:
      return "list " + argument;
    case CommandKind::Where:
      return "where";
    case CommandKind::ReverseStep:
      return "reverse-step " + std::to_string(c.count);
    case CommandKind::ReverseContinue:
      return "reverse-continue";
    case CommandKind::Help:
      return "help " + argument;
    case CommandKind::Quit:
      return "quit";
    case CommandKind::Invalid:
      return "invalid: " + c.problem;
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
      {"run < numbers.txt", "run < [numbers.txt]"},
      {"r <in.txt", "run < [in.txt]"},
      {"step", "step 1"},
      {"s", "step 1"},
      {"step 5", "step 5"},
      {"s   12  ", "step 12"},
      {"next", "step 1"},
      {"n 3", "step 3"},
      {"continue", "continue"},
      {"c", "continue"},
      {"until", "until []"},
      {"u 12", "until [12]"},
      {"advance 12", "advance [12]"},
      {"break 12", "break [12]"},
      {"b top", "break [top]"},
      {"b #4", "break [#4]"},
      {"b sum.tarnel:23", "break [sum.tarnel:23]"},
      {"tbreak 9", "tbreak [9]"},
      {"watch total", "watch [total]"},
      {"delete", "delete 0"},
      {"delete 2", "delete 2"},
      {"d 3", "delete 3"},
      {"info break", "info breakpoints"},
      {"info b", "info breakpoints"},
      {"i b", "info breakpoints"},
      {"info br", "info breakpoints"},
      {"info breakpoints", "info breakpoints"},
      {"info watchpoints", "info breakpoints"},
      {"info history", "info history"},
      {"i h", "info history"},
      {"info display", "info display"},
      {"print total", "print [total]"},
      {"p total", "print [total]"},
      {"display", "display []"},
      {"display n", "display [n]"},
      {"undisplay", "undisplay 0"},
      {"undisplay 2", "undisplay 2"},
      {"set var total = 0", "set [total] = [0]"},
      {"set variable s=\"a b\"", "set [s] = [\"a b\"]"},
      {"set var s =", "set [s] = []"},
      {"vars", "vars"},
      {"stack", "stack"},
      {"flags", "flags"},
      {"list", "list []"},
      {"l 20", "list [20]"},
      {"list top", "list [top]"},
      {"where", "where"},
      {"reverse-step", "reverse-step 1"},
      {"rs 4", "reverse-step 4"},
      {"reverse-continue", "reverse-continue"},
      {"rc", "reverse-continue"},
      {"help", "help []"},
      {"h", "help []"},
      {"?", "help []"},
      {"help step", "help [step]"},
      {"quit", "quit"},
      {"q", "quit"},
      {"exit", "quit"},
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
      {"n x", "\"next\" takes a number of records, such as \"next 5\""},
      {"rs 0", "\"reverse-step\" takes a number of records, such as \"reverse-step 5\""},
      {"break", "\"break\" needs a place: a line number, a label, or #N for record N"},
      {"tbreak", "\"tbreak\" needs a place: a line number, a label, or #N for record N"},
      {"advance", "\"advance\" needs a place: a line number, a label, or #N for record N"},
      {"watch", "\"watch\" needs a variable name, such as \"watch total\""},
      {"delete x", "\"delete\" takes a breakpoint number, or nothing to delete them all"},
      {"delete 0", "\"delete\" takes a breakpoint number, or nothing to delete them all"},
      {"undisplay x", "\"undisplay\" takes a display number, or nothing for every one"},
      {"info",
       "\"info\" knows \"info breakpoints\" (\"i b\"), \"info history\" and \"info display\""},
      {"info vars",
       "\"info\" knows \"info breakpoints\" (\"i b\"), \"info history\" and \"info display\""},
      {"print", "\"print\" needs a variable name, such as \"print total\""},
      {"set total = 1", "\"set\" knows \"set var NAME = VALUE\", such as \"set var total = 0\""},
      {"set var total 1", "\"set\" knows \"set var NAME = VALUE\", such as \"set var total = 0\""},
      {"set var = 1", "\"set\" knows \"set var NAME = VALUE\", such as \"set var total = 0\""},
      {"run now", "\"run\" takes no argument, or < FILE to read the program's input from"},
      {"run <", "\"run\" takes no argument, or < FILE to read the program's input from"},
      {"c 2", "\"continue\" takes no argument"},
      {"rc 2", "\"reverse-continue\" takes no argument"},
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
  for (const char* word : {"run",          "step",
                           "next",         "continue",
                           "until",        "advance",
                           "break",        "tbreak",
                           "watch",        "delete",
                           "info",         "print",
                           "display",      "undisplay",
                           "set",          "vars",
                           "stack",        "flags",
                           "list",         "where",
                           "reverse-step", "reverse-continue",
                           "help",         "quit"}) {
    const char* line = commandHelpLine(word);
    ASSERT_NE(line, nullptr) << word;
    EXPECT_EQ(std::string(line).rfind(word, 0), 0u) << line;
    EXPECT_NE(help.find(std::string(line) + "\n"), std::string::npos) << word;
  }
  EXPECT_STREQ(commandHelpLine("s"), commandHelpLine("step"));
  EXPECT_STREQ(commandHelpLine("exit"), commandHelpLine("quit"));
  EXPECT_STREQ(commandHelpLine("?"), commandHelpLine("help"));
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
      {{"--max-steps", "1000000000000000001", "a.kiv"},
       "kivdebug: --max-steps takes at most 1000000000000000000 records, and "
       "1000000000000000001 is more"},
      {{"--max-steps", "99999999999999999999999", "a.kiv"},
       "kivdebug: --max-steps takes at most 1000000000000000000 records, and "
       "99999999999999999999999 is more"},
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
