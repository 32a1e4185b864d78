// tarnel_check on a generated program of 1,000,000 lines, against tarnel's
// own front end on the same lines, each run as its own process, side by
// side in the same run:
//
//   check   tarnel_check on the program (no problem to report);
//   peer    tarnel on the same program with one declaration it rejects, so
//           that it reads, normalises and parses the whole text and stops
//           before writing or running anything;
//   fix     tarnel_check --fix on the program with a blank after the comma
//           on every eighth line (125,000 safe fixes), on a fresh copy each
//           time, against checking that copy.
//
// Prints the median processor time (user and system) and peak memory of
// several runs of each, the ratios, and whether the targets are met:
// checking at most 1.5 s and 10 times the file's size in memory, --fix at
// most twice the check of the same file.
//
//   checker_bench [lines]      (default 1000000; BENCH_RUNS sets the runs, default 3)
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::string kBinDir = TARNEL_BENCH_BIN_DIR;

struct Measure {
  double cpuSeconds = 0;  // user and system time of the process
  double megabytes = 0;   // peak resident memory
};

// Runs argv with both standard streams on /dev/null; the exit status is
// not the point (tarnel counts the rejected declaration).
Measure runOnce(const std::vector<std::string>& argv, const std::string& directory) {
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  Measure measure;
  pid_t child = fork();
  if (child == 0) {
    int null = open("/dev/null", O_RDWR);
    if (null < 0 || chdir(directory.c_str()) != 0) _exit(127);
    dup2(null, 0);
    dup2(null, 1);
    execv(args[0], args.data());
    _exit(127);
  }
  if (child < 0) return measure;
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return measure;
  auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  measure.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  measure.megabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return measure;
}

Measure median(std::vector<Measure> measures) {
  auto middle = [&](auto field) {
    std::vector<double> values;
    for (const Measure& m : measures) values.push_back(m.*field);
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
  };
  return Measure{middle(&Measure::cpuSeconds), middle(&Measure::megabytes)};
}

// A course-style program of lines statement lines: labels, arithmetic, texts
// with commas and colons, comparisons and jumps, indented as a careful
// writer indents. badDeclaration adds a blank after a declaration, which
// tarnel rejects; blankAfterComma writes "add total, n" for "add total,n".
std::string program(long lines, bool badDeclaration, bool blankAfterComma) {
  std::string text = "kiv bench {\r\nvar {\r\nvar& n := 0";
  text += badDeclaration ? " \r\n" : "\r\n";
  text += "var& total := 0\r\nvar$ s := \"a, b: c\"\r\n}\r\nbegin {\r\n";
  for (long i = 0; i < lines; ++i) {
    switch (i % 8) {
      case 0:
        text += "loop" + std::to_string(i) + ":\r\n";
        break;
      case 1:
        text += blankAfterComma ? "    add total, n\r\n" : "    add total,n\r\n";
        break;
      case 2:
        text += "    print \"line, with: quotes\"\r\n";
        break;
      case 3:
        text += "    inc n\r\n";
        break;
      case 4:
        text += "    cmp n," + std::to_string(i % 100) + "\r\n";
        break;
      case 5:
        text += "    mov s,\"x\"\r\n";
        break;
      case 6:
        text += "    print total\r\n";
        break;
      default:
        text += "    jle loop" + std::to_string(i - 7) + "\r\n";
        break;
    }
  }
  return text + "}\r\n}\r\n";
}

void write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

void report(const char* what, const Measure& m) {
  std::printf("%-44s %6.2f s  %7.1f MB\n", what, m.cpuSeconds, m.megabytes);
}

}  // namespace

int main(int argc, char** argv) {
  long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
  if (lines < 8) lines = 1000000;
  const char* runsText = std::getenv("BENCH_RUNS");
  int runs = runsText != nullptr ? std::max(1, std::atoi(runsText)) : 3;

  std::string pattern = (std::filesystem::temp_directory_path() / "checker_bench.XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const std::string dir = pattern;
  const std::string clean = dir + "/clean.tarnel";
  const std::string rejected = dir + "/rejected.tarnel";
  const std::string fixable = dir + "/fixable.tarnel";
  const std::string copy = dir + "/copy.tarnel";
  std::string fixableText = program(lines, false, true);
  write(clean, program(lines, false, false));
  write(rejected, program(lines, true, false));
  write(fixable, fixableText);
  double fileMegabytes = static_cast<double>(std::filesystem::file_size(clean)) / (1024.0 * 1024.0);

  std::vector<Measure> check, peer, fix, checkFixable;
  for (int run = 0; run < runs; ++run) {
    check.push_back(runOnce({kBinDir + "/tarnel_check", clean}, dir));
    peer.push_back(runOnce({kBinDir + "/tarnel", rejected}, dir));
    write(copy, fixableText);
    fix.push_back(runOnce({kBinDir + "/tarnel_check", "--fix", copy}, dir));
    checkFixable.push_back(runOnce({kBinDir + "/tarnel_check", fixable}, dir));
  }
  std::filesystem::remove_all(dir);

  Measure checkM = median(check), peerM = median(peer), fixM = median(fix),
          checkFixableM = median(checkFixable);
  std::printf("%ld statement lines, %.1f MB; medians of %d runs (processor time, peak memory)\n",
              lines, fileMegabytes, runs);
  report("tarnel_check", checkM);
  report("tarnel, its front end alone (peer)", peerM);
  report("tarnel_check --fix, 125,000 fixes a million", fixM);
  report("tarnel_check on that file", checkFixableM);
  double memoryRatio = checkM.megabytes / fileMegabytes;
  double fixRatio = fixM.cpuSeconds / checkFixableM.cpuSeconds;
  std::printf("check: %.2f of the peer's time, %.2f of its memory, %.1f times the file's size\n",
              checkM.cpuSeconds / peerM.cpuSeconds, checkM.megabytes / peerM.megabytes,
              memoryRatio);
  std::printf("--fix: %.2f of a check of the same file\n", fixRatio);
  bool met = checkM.cpuSeconds <= 1.5 && memoryRatio <= 10 && fixRatio <= 2;
  std::printf(
      "targets (check at most 1.5 s and 10 times the file, --fix at most twice a check): "
      "%s\n",
      met ? "met" : "NOT met");
  return 0;
}
