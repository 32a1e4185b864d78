// The command-line checks of kivinterp and the start of the run.
#include "kivinterp_driver.h"

#include <iostream>

#include "input_file.h"
#include "interpreter.h"

namespace {

// The bytecode file, read once; writes the line that refuses it and gives
// false when it cannot be used.
bool readBytecodeFile(const std::string& path, InputFile& file, std::ostream& out) {
  file = readInputFile(path);
  switch (file.status) {
    case InputStatus::Read:
      return true;
    case InputStatus::NotFound:
      out << path << " file not found.. " << '\n' << std::flush;
      return false;
    case InputStatus::TooLarge:
      out << path << " file too large (" << kMaxInputFileText << " or more).. " << '\n'
          << std::flush;
      return false;
    case InputStatus::ReadFailed:
      out << path << " file cannot be read: " << file.reason << ".. " << '\n' << std::flush;
      return false;
  }
  return false;
}

}  // namespace

int runKivinterp(const std::vector<std::string>& args, std::istream& in, std::ostream& out) {
  if (args.size() != 1) {
    out << "[invalid syntax] to call kivinterp type\nkivinterp sourcefile.kiv" << '\n'
        << std::flush;
    return 1;
  }
  const std::string& path = args[0];
  InputFile file;
  if (!readBytecodeFile(path, file, out)) return 1;

  Interpreter interpreter(in, out);
  interpreter.loadText(file.text);
  std::string().swap(file.text);
  // The report is a by-product: when it cannot be written the program still
  // runs, and the failure shows on standard error and in the exit status.
  WriteResult report = interpreter.writeDebugReport();
  if (!report.written) {
    std::cerr << "kivinterp: cannot write debug.html: " << report.reason << '\n' << std::flush;
  }
  interpreter.execute();
  out.flush();
  return report.written ? 0 : 1;
}
