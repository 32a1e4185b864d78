// Reading kivdebug's program file; see program_file.h.
#include "program_file.h"

#include <sys/stat.h>

#include <ostream>
#include <utility>
#include <vector>

#include "input_file.h"

bool isDirectory(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool loadProgramFile(const std::string& path, DebugProgram& program, std::ostream& messages,
                     bool& errorsCounted) {
  errorsCounted = false;
  if (isDirectory(path)) {
    messages << "kivdebug: " << path << " is a directory, not a program" << '\n' << std::flush;
    return false;
  }
  InputFile file = readInputFile(path);
  const bool bytecode = isBytecodePath(path);
  switch (file.status) {
    case InputStatus::Read:
      break;
    case InputStatus::NotFound:
      // The words of kivinterp for a bytecode file, of tarnel for a source.
      if (bytecode) {
        messages << path << " file not found.. " << '\n';
      } else {
        messages << "file " << path << " not found .. " << '\n';
      }
      messages.flush();
      return false;
    case InputStatus::TooLarge:
      if (bytecode) {
        messages << path << " file too large (" << kMaxInputFileText << " or more).. " << '\n';
      } else {
        messages << "file " << path << " too large (" << kMaxInputFileText << " or more) .. "
                 << '\n';
      }
      messages.flush();
      return false;
    case InputStatus::ReadFailed:
      if (bytecode) {
        messages << path << " file cannot be read: " << file.reason << ".. " << '\n';
      } else {
        messages << "error(1) cannot read " << path << '\n'
                 << " assembled with (1) error(s) " << '\n';
      }
      messages.flush();
      return false;
  }
  if (bytecode) {
    program = bytecodeProgram(path, std::move(file.text));
    return true;
  }
  std::vector<std::string> lines;
  const bool ok = assembleProgram(path, std::move(file.text), program, lines);
  for (const std::string& line : lines) messages << line << '\n';
  messages.flush();
  errorsCounted = !lines.empty();
  return ok;
}
