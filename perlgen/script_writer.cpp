// Writing the Perl script beside the translator and running it with perl.
#include "script_writer.h"

#include "front_end.h"
#include "output_file.h"
#include "perl_script.h"

std::string perlScriptPath(const std::string& programDirectory, const std::string& objectName) {
  return programDirectory + objectName + ".pl";
}

bool writePerlScript(const std::string& objectName, const ProgramTables& tables,
                     const std::string& programDirectory, ProgramStarter& starter) {
  std::string script = perlScriptText(
      tables, [](const std::string& message) { reportError("%s", message.c_str()); });

  std::string path = perlScriptPath(programDirectory, objectName);
  // Written byte for byte: the templates carry their own CR LF line ends.
  if (!writeFileAtomically(path, script).written) {
    reportError("cannot write %s", path.c_str());
    return false;
  }

  // A path that begins with "-" would reach perl as an option.
  const std::string argument = path.compare(0, 1, "-") == 0 ? "./" + path : path;
  StartResult started = starter.run({"perl", argument});
  if (!started.started) reportError("cannot start %s: %s", "perl", started.reason.c_str());
  return started.succeeded;
}
