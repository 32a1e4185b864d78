// Writing the Perl script beside the translator and running it with perl.
#include "script_writer.h"

#include <fstream>

#include "front_end.h"
#include "perl_script.h"

std::string perlScriptPath(const std::string& programDirectory, const std::string& objectName) {
  return programDirectory + objectName + ".pl";
}

void writePerlScript(const std::string& objectName, const ProgramTables& tables,
                     const std::string& programDirectory, ProgramStarter& starter) {
  std::string script = perlScriptText(
      tables, [](const std::string& message) { reportError("%s", message.c_str()); });

  std::string path = perlScriptPath(programDirectory, objectName);
  // Binary mode: the templates carry their own CR LF line ends.
  std::ofstream file(path, std::ios::out | std::ios::binary | std::ios::trunc);
  file.write(script.data(), static_cast<std::streamsize>(script.size()));
  file.close();
  if (!file) {
    reportError("cannot write %s", path.c_str());
    return;
  }

  StartResult started = starter.run({"perl", path});
  if (!started.started) reportError("cannot start %s: %s", "perl", started.reason.c_str());
}
