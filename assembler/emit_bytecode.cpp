// Writing the bytecode file and starting the interpreter; see
// emit_bytecode.h.
#include "emit_bytecode.h"

#include <cstdio>

#include "bytecode_text.h"
#include "front_end.h"

bool writeTextFile(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

void emitBytecode(const std::string& programDirectory, const std::string& objectName,
                  const ProgramTables& tables, ProgramStarter& starter) {
  std::string path = programDirectory + objectName + ".kiv";
  if (!writeTextFile(path, bytecodeText(tables))) {
    reportError("cannot write %s", path.c_str());
    return;
  }
  std::string interpreter = programDirectory + "kivinterp";
  StartResult result = starter.run({interpreter, path});
  if (!result.started) {
    reportError("cannot start %s: %s", interpreter.c_str(), result.reason.c_str());
  }
}
