// Runs one end-to-end case: a real program of the toolchain on a real file,
// in a fresh directory of its own, compared byte for byte with what is kept
// beside the case.
//
//   e2e_runner BIN_DIR PROGRAM CASE_FILE [INFIX]
//
// For the case file dir/name.ext the runner reads, when present:
//   name.args    the program's arguments, one per line (default: the case's
//                file name); an empty file gives no argument
//   name.in      standard input (default: empty)
//   name.out     the expected standard output (default: empty)
//   name.err     the expected standard error (default: empty)
//   name.status  the expected exit status (default: 0)
//   name.merged  present: standard error goes where standard output goes, as
//                at a terminal, and name.out expects both
//   name.mkdir   directories to create in the run directory, one per line
//   name.files   files beside the case to copy into the run directory, one
//                per line (an input file that the arguments name)
//   name.expect/ files the run must leave in the run directory, byte for byte
// With INFIX these are name INFIX .args and so on instead, so that one case
// file can be run by more than one program, each with expectations of its
// own (check/x.tarnel.out for tarnel beside check/x.out for tarnel_check).
//
// The programs of BIN_DIR are linked into the run directory and the program
// is started there as ./PROGRAM, so that files it writes beside itself or in
// its working directory land in the run directory. A run that takes longer
// than 30 seconds is killed.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kTimeoutSeconds = 30;
const char* const kPrograms[] = {"kivinterp", "tarnel", "tarnel_perl", "tarnel_check", "kivdebug"};

bool readFile(const fs::path& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

std::string readFileOr(const fs::path& path, const std::string& fallback) {
  std::string text;
  return readFile(path, text) ? text : fallback;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

// Control bytes shown as escapes, so that a difference in blanks, CR or LF
// can be read in the report.
std::string visible(const std::string& text) {
  std::string shown;
  for (unsigned char c : text) {
    if (c == '\n') {
      shown += "\\n\n";
    } else if (c == '\r') {
      shown += "\\r";
    } else if (c == '\t') {
      shown += "\\t";
    } else if (c < 32 || c == 127) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02x", c);
      shown += buffer;
    } else {
      shown += static_cast<char>(c);
    }
  }
  return shown;
}

bool compare(const std::string& what, const std::string& wanted, const std::string& got) {
  if (wanted == got) return true;
  std::string::size_type at = 0;
  while (at < wanted.size() && at < got.size() && wanted[at] == got[at]) ++at;
  std::cout << what << " differs at byte " << at << "\n--- wanted ---\n"
            << visible(wanted) << "\n--- got ---\n"
            << visible(got) << "\n--- end ---\n";
  return false;
}

struct RunResult {
  std::string output;
  std::string errors;
  int status = -1;
  bool timedOut = false;
};

RunResult runProgram(const fs::path& runDir, const std::string& program,
                     const std::vector<std::string>& args, const fs::path& input, bool merged) {
  RunResult result;
  fs::path outPath = runDir / ".stdout";
  fs::path errPath = runDir / ".stderr";
  pid_t child = fork();
  if (child == 0) {
    if (chdir(runDir.c_str()) != 0) _exit(126);
    int in = open(input.empty() ? "/dev/null" : input.c_str(), O_RDONLY);
    int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(merged ? out : err, 2);
    std::string self = "./" + program;
    std::vector<char*> argv{const_cast<char*>(self.c_str())};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kTimeoutSeconds);
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      result.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  readFile(outPath, result.output);
  readFile(errPath, result.errors);
  fs::remove(outPath);
  fs::remove(errPath);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::cout << "usage: e2e_runner BIN_DIR PROGRAM CASE_FILE [INFIX]\n";
    return 2;
  }
  fs::path binDir = fs::absolute(argv[1]);
  std::string program = argv[2];
  fs::path caseFile = fs::absolute(argv[3]);
  std::string infix = argc == 5 ? argv[4] : "";
  fs::path stem = caseFile.parent_path() / caseFile.stem();
  auto beside = [&](const char* ending) { return fs::path(stem.string() + infix + ending); };

  std::string tmpl = (fs::temp_directory_path() / "e2e.XXXXXX").string();
  if (mkdtemp(tmpl.data()) == nullptr) {
    std::cout << "cannot create a run directory\n";
    return 2;
  }
  fs::path runDir = tmpl;
  for (const char* name : kPrograms) {
    if (fs::exists(binDir / name)) fs::create_symlink(binDir / name, runDir / name);
  }
  fs::copy_file(caseFile, runDir / caseFile.filename());
  for (const std::string& dir : lines(readFileOr(beside(".mkdir"), ""))) {
    fs::create_directories(runDir / dir);
  }
  for (const std::string& file : lines(readFileOr(beside(".files"), ""))) {
    fs::copy_file(caseFile.parent_path() / file, runDir / file);
  }

  std::vector<std::string> args{caseFile.filename().string()};
  std::string argsText;
  if (readFile(beside(".args"), argsText)) args = lines(argsText);
  fs::path input = fs::exists(beside(".in")) ? beside(".in") : fs::path();

  RunResult run = runProgram(runDir, program, args, input, fs::exists(beside(".merged")));
  bool ok = true;
  if (run.timedOut) {
    std::cout << "the run took longer than " << kTimeoutSeconds << " seconds\n";
    ok = false;
  }
  ok = compare("standard output", readFileOr(beside(".out"), ""), run.output) && ok;
  ok = compare("standard error", readFileOr(beside(".err"), ""), run.errors) && ok;
  int wantedStatus = std::atoi(readFileOr(beside(".status"), "0").c_str());
  if (run.status != wantedStatus) {
    std::cout << "exit status " << run.status << ", wanted " << wantedStatus << "\n";
    ok = false;
  }
  fs::path expectDir = beside(".expect");
  if (fs::is_directory(expectDir)) {
    for (const auto& entry : fs::recursive_directory_iterator(expectDir)) {
      if (!entry.is_regular_file()) continue;
      fs::path relative = fs::relative(entry.path(), expectDir);
      std::string wanted;
      std::string got;
      readFile(entry.path(), wanted);
      if (!readFile(runDir / relative, got)) {
        std::cout << "the run wrote no file " << relative.string() << "\n";
        ok = false;
        continue;
      }
      ok = compare("file " + relative.string(), wanted, got) && ok;
    }
  }

  if (!ok) {
    std::cout << "run directory kept: " << runDir.string() << "\n";
    return 1;
  }
  fs::remove_all(runDir);
  return 0;
}
