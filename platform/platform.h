// The small layer that stands in for the command processor: the pause at
// the end of every console program, the program's own directory, the input
// file check and the start of another program.
#pragma once

#include <string>
#include <vector>

// Waits for one key press when standard input is a terminal, after writing
// "Press any key to continue . . . "; writes nothing and returns at once
// otherwise, so pipes and scripts never block.
void pauseConsole();

// argv0 up to and including its last '/' or '\'; empty when it holds neither.
std::string programDirectory(const std::string& argv0);

// True when path can be opened for reading and is not a directory.
bool fileExists(const std::string& path);

struct StartResult {
  bool started = false;
  std::string reason;  // the system's reason when the program could not start
  // Once started: true only when the program ended by itself with status 0.
  bool succeeded = false;
};

// Starts another program and waits for it to end. The argument vector goes
// to the program as it is, without a command processor, so blanks and shell
// characters in an argument arrive whole and can run nothing.
class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  virtual StartResult run(const std::vector<std::string>& argv) = 0;
};

// The real starter: a bare program name is found through PATH, standard
// output is flushed first. The program starts with the default action for
// every signal the caller may have set aside for itself.
class SystemProgramStarter : public ProgramStarter {
 public:
  StartResult run(const std::vector<std::string>& argv) override;
};
