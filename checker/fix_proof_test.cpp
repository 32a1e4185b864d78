// The proof that a safe fix never makes a program run otherwise than it
// ran right before, and that once nothing is left to report, tarnel_perl
// prints what tarnel prints. Every example, every end-to-end source and
// generated learners' programs run through the real tarnel (and kivinterp)
// and tarnel_perl (and perl), before and after the fixes tarnel_check
// --fix makes.
//
// Generated programs are written twice from one plan: as a careful writer
// would, and with the layout pitfalls learners hit (tabs, blanks after
// commas, aligned and glued comments, indented labels, Perl words as
// labels, a brace after the last statement, ...). Once fixed, the second
// must print through both translators what the first prints through tarnel.
//
// FIX_PROOF_COUNT and FIX_PROOF_SEED choose how many programs and which.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>
#include <thread>

#include "check_source.h"
#include "fix_apply.h"

namespace fs = std::filesystem;

namespace {

// Fixed jumps may turn a program into one that loops for ever: such a run
// is stopped and compared no further.
constexpr int kTimeoutSeconds = 3;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

struct ToolRun {
  std::string output;  // standard output and error, as a console shows them
  bool finished = false;
};

// Runs program (tarnel or tarnel_perl) on source with input, in a fresh
// folder of its own where the programs are linked, so that the files they
// write land there.
ToolRun runTool(const std::string& program, const std::string& source, const std::string& input) {
  ToolRun run;
  std::string pattern = (fs::temp_directory_path() / "fixproof.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return run;
  fs::path dir = pattern;
  for (const char* name : {"tarnel", "kivinterp", "tarnel_perl"}) {
    fs::create_symlink(fs::path(TARNEL_BIN_DIR) / name, dir / name);
  }
  writeFile(dir / "program.tarnel", source);
  writeFile(dir / "input", input);
  pid_t child = fork();
  if (child == 0) {
    // A group of its own, so that the time limit stops kivinterp or perl
    // with the translator that started it.
    setpgid(0, 0);
    if (chdir(dir.c_str()) != 0) _exit(126);
    int in = open("input", O_RDONLY);
    int out = open("output", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(out, 2);
    std::string self = "./" + program;
    execl(self.c_str(), self.c_str(), "program.tarnel", static_cast<char*>(nullptr));
    _exit(127);
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kTimeoutSeconds);
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(-child, SIGKILL);
      waitpid(child, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  // A run whose program the time limit stopped (a Perl script waiting for
  // an end of input it never sees, say) proves nothing either way.
  run.finished = WIFEXITED(status);
  run.output = readFile(dir / "output");
  fs::remove_all(dir);
  return run;
}

// tarnel's output without its closing line: what the program printed.
std::string programOutput(const std::string& tarnelOutput) {
  const std::string closing = "assembled with (0) errors\n";
  if (tarnelOutput.size() >= closing.size() &&
      tarnelOutput.compare(tarnelOutput.size() - closing.size(), closing.size(), closing) == 0) {
    return tarnelOutput.substr(0, tarnelOutput.size() - closing.size());
  }
  return tarnelOutput;
}

bool hasErrorOrWarning(const std::vector<Diagnostic>& diagnostics) {
  for (const Diagnostic& diagnostic : diagnostics) {
    if (diagnostic.severity != Severity::Note) return true;
  }
  return false;
}

// Input the two translators read alike: one word a line (kivinterp reads a
// word, Perl a line).
bool readsAlike(const std::string& input) {
  std::istringstream lines(input);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    std::string first;
    std::string second;
    if (words >> first >> second) return false;
  }
  return true;
}

struct ProofCounts {
  int fixed = 0;     // sources that some fix changed
  int compared = 0;  // fixed sources whose Perl run was compared with tarnel's
};

// Fixes source and runs both versions. Where the checker reported only
// notes, tarnel must print the same after the fixes; where nothing is left
// to report, tarnel_perl must print what tarnel prints.
void prove(const std::string& name, const std::string& source, const std::string& input,
           ProofCounts& counts) {
  std::vector<Diagnostic> before = checkSource(source);
  SafeFixes fixed = fixSafely(source);
  if (fixed.text == source) return;
  ++counts.fixed;
  bool keepsTarnel = !hasErrorOrWarning(before);
  bool agrees = fixed.remaining.empty() && readsAlike(input);
  if (!keepsTarnel && !agrees) return;
  ToolRun tarnelAfter = runTool("tarnel", fixed.text, input);
  if (keepsTarnel) {
    ToolRun tarnelBefore = runTool("tarnel", source, input);
    if (tarnelBefore.finished && tarnelAfter.finished) {
      EXPECT_EQ(tarnelAfter.output, tarnelBefore.output) << name << " fixed:\n" << fixed.text;
    }
  }
  if (!agrees || !tarnelAfter.finished) return;
  ToolRun perlAfter = runTool("tarnel_perl", fixed.text, input);
  if (!perlAfter.finished) return;
  ++counts.compared;
  EXPECT_EQ(perlAfter.output, programOutput(tarnelAfter.output)) << name << " fixed:\n"
                                                                 << fixed.text;
}

// The input an example's comment suggests ("; Try:  printf '...' | ...").
std::string suggestedInput(const std::string& source) {
  std::size_t at = source.find("printf '");
  if (at == std::string::npos) return std::string();
  std::size_t end = source.find('\'', at + 8);
  std::string text = source.substr(at + 8, end - at - 8);
  std::string input;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      input += '\n';
      ++i;
    } else {
      input += text[i];
    }
  }
  return input;
}

TEST(FixProof, EveryExampleAndEndToEndSource) {
  ProofCounts counts;
  int sources = 0;
  for (const char* folder : {TARNEL_EXAMPLES_DIR, TARNEL_E2E_DIR}) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      if (entry.path().extension() != ".tarnel" || !entry.is_regular_file()) continue;
      if (entry.path().string().find(".expect/") != std::string::npos) continue;
      std::string source = readFile(entry.path());
      fs::path in = entry.path();
      in.replace_extension(".in");
      std::string input = fs::exists(in) ? readFile(in) : suggestedInput(source);
      prove(entry.path().string(), source, input, counts);
      ++sources;
    }
  }
  std::cout << sources << " sources, " << counts.fixed << " changed by fixes, " << counts.compared
            << " of them compared through both translators\n";
  EXPECT_GT(sources, 100);
  EXPECT_GT(counts.fixed, 20);  // the end-to-end cases hold many pitfalls
  EXPECT_GT(counts.compared, 5);
}

// One program, planned once and written two ways.
class ProgramPlan {
 public:
  explicit ProgramPlan(std::mt19937& random) : random_(random) {
    rounds_ = pick(2, 4);
    start_ = pick(0, 9);
    // (A one-letter label such as "y:" is too short a line for either
    // translator to read: a warning without a fix, left out here.)
    label_ = pickOf({"top", "again", "next", "last", "redo", "tr", "qq", "loop_1"});
    jumpToStop_ = pick(0, 3) == 0;
  }

  std::string careful() { return write(false); }
  std::string pitfalls() { return write(true); }

 private:
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  std::string pickOf(std::vector<std::string> choices) {
    return choices[static_cast<std::size_t>(pick(0, static_cast<int>(choices.size()) - 1))];
  }

  // The pitfalls are drawn anew for each writing, so a plan yields a
  // different faulty text each time, always fixable.
  std::string indent(bool faulty) {
    if (!faulty) return "    ";
    return pickOf({"    ", "\t", "  ", "", "\t  "});
  }
  std::string comma(bool faulty) { return faulty ? pickOf({",", ", ", ",  "}) : ","; }
  std::string comment(bool faulty, const std::string& words) {
    if (!faulty) return pick(0, 3) == 0 ? " ; " + words : "";
    return pickOf({"", " ; " + words, "       ; " + words, ";" + words, "\t; " + words});
  }
  std::string labelLine(bool faulty, const std::string& name, const std::string& next) {
    if (!faulty) return name + ":\n" + next;
    switch (pick(0, 3)) {
      case 0:
        return "  " + name + ":\n" + next;
      case 1:
        return name + ": " + next.substr(next.find_first_not_of(" \t"));
      default:
        return name + ":\n" + next;
    }
  }

  std::string write(bool faulty) {
    std::mt19937 saved = random_;
    // The careful text follows the plan alone: its own draws never change
    // what the faulty one draws.
    if (!faulty) random_.seed(12345);
    std::string label = faulty ? label_ : "top_" + std::to_string(rounds_);
    std::string text;
    text += faulty && pick(0, 3) == 0 ? "kiv generated\n{\n" : "kiv generated {\n";
    text += "var {\n";
    std::string ints = "var& i := " + std::to_string(rounds_) + "\n";
    if (faulty && pick(0, 2) == 0) {
      text += "var& a" + comma(true) + "b" + comma(true) + "c\n";
    } else {
      text += "var& a\nvar& b\nvar& c\n";
    }
    text += faulty && pick(0, 1) == 0 ? "var& i:=" + std::to_string(rounds_) + "\n" : ints;
    text += "var& d := " + std::to_string(start_) + (faulty && pick(0, 1) ? " ; start\n" : "\n");
    text += "var$ t\n}\n\nbegin {\n";
    auto line = [&](const std::string& statement, const std::string& note) {
      return indent(faulty) + statement + comment(faulty, note) + "\n";
    };
    auto two = [&](const std::string& mnemonic, const std::string& a, const std::string& b) {
      return mnemonic + " " + a + comma(faulty) + b;
    };
    text += line("print \"start\\n\"", "greet");
    text += labelLine(faulty, label, line(two("add", "a", "i"), "sum"));
    text += line(two("add", "b", "d"), "more");
    text += line(two("mov", "c", "a"), "copy");
    text += line(two("mul", "c", "b"), "product");
    text += line("print c", "show");
    text += line("print \" \"", "gap");
    text += line("dec i", "count down");
    text += faulty && pick(0, 3) == 0 ? "   \n" : "\n";
    text += line(two("cmp", "i", "0"), "done?");
    text += line("jg " + label, "again");
    text += line("push a", "keep");
    text += line("pop t", "take");
    text += line("print t", "show");
    if (jumpToStop_) {
      text += faulty ? line("jmp stop", "end") : line("jmp the_end", "end");
      text += line("print \"never\"", "skipped");
    }
    std::string last = indent(faulty) + "print \"\\n\"";
    if (jumpToStop_ && !faulty) last += "\nthe_end:";
    text += faulty && pick(0, 2) == 0 ? last + "}\n" : last + "\n}\n";
    text += "}\n";
    if (!faulty) random_ = saved;
    return text;
  }

  std::mt19937& random_;
  int rounds_ = 0;
  int start_ = 0;
  std::string label_;
  bool jumpToStop_ = false;
};

TEST(FixProof, GeneratedLearnersPrograms) {
  const char* countText = std::getenv("FIX_PROOF_COUNT");
  const char* seedText = std::getenv("FIX_PROOF_SEED");
  int count = countText != nullptr ? std::atoi(countText) : 24;
  std::mt19937 random(seedText != nullptr ? static_cast<unsigned>(std::atoi(seedText)) : 17u);
  for (int n = 0; n < count; ++n) {
    ProgramPlan plan(random);
    std::string careful = plan.careful();
    std::string faulty = plan.pitfalls();
    std::string name = "generated program " + std::to_string(n);
    ASSERT_TRUE(checkSource(careful).empty()) << name << ":\n" << careful;
    ToolRun wanted = runTool("tarnel", careful, "");
    ASSERT_TRUE(wanted.finished) << careful;
    SafeFixes fixed = fixSafely(faulty);
    for (const Diagnostic& left : fixed.remaining) {
      ADD_FAILURE() << name << ": left after the fixes: " << left.line << ":" << left.column << " "
                    << left.message << "\n"
                    << faulty << "\nfixed:\n"
                    << fixed.text;
    }
    ToolRun tarnelAfter = runTool("tarnel", fixed.text, "");
    ToolRun perlAfter = runTool("tarnel_perl", fixed.text, "");
    EXPECT_EQ(tarnelAfter.output, wanted.output) << name << ":\n" << faulty;
    EXPECT_EQ(perlAfter.output, programOutput(wanted.output)) << name << ":\n" << faulty;
  }
}

}  // namespace
