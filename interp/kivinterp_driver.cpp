// The command-line checks of kivinterp and the start of the run.
#include "kivinterp_driver.h"

#include <ostream>

#include "interpreter.h"
#include "platform.h"

int runKivinterp(const std::vector<std::string>& args, std::istream& in, std::ostream& out) {
  if (args.size() != 1) {
    out << "[invalid syntax] to call kivinterp type\nkivinterp sourcefile.kiv" << '\n'
        << std::flush;
    return 1;
  }
  Interpreter interpreter(in, out);
  const std::string& path = args[0];
  if (!fileExists(path)) {
    out << path << " file not found.. " << '\n' << std::flush;
    return 1;
  }
  interpreter.run(path);
  out.flush();
  return 0;
}
