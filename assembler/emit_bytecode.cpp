// Writing the bytecode file and starting the interpreter; see
// emit_bytecode.h.
#include "emit_bytecode.h"

#include "bytecode_text.h"
#include "front_end.h"
#include "output_file.h"

bool emitBytecode(const std::string& programDirectory, const std::string& objectName,
                  const ProgramTables& tables, ProgramStarter& starter) {
  std::string path = programDirectory + objectName + ".kiv";
  if (!writeFileAtomically(path, bytecodeText(tables)).written) {
    reportError("cannot write %s", path.c_str());
    return false;
  }
  std::string interpreter = programDirectory + "kivinterp";
  StartResult result = starter.run({interpreter, path});
  if (!result.started) {
    reportError("cannot start %s: %s", interpreter.c_str(), result.reason.c_str());
  }
  return result.succeeded;
}
