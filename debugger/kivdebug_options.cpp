// kivdebug's command line; see kivdebug_options.h.
#include "kivdebug_options.h"

#include "program_map.h"

namespace {

// The value of an option given as "--name VALUE" or "--name=VALUE"; false
// when arg is not that option. index moves past a separate value.
bool optionValue(const std::vector<std::string>& args, std::size_t& index, const std::string& name,
                 bool& present, std::string& value) {
  const std::string& arg = args[index];
  if (arg == name) {
    present = index + 1 < args.size();
    if (present) value = args[++index];
    return true;
  }
  if (arg.compare(0, name.size() + 1, name + "=") == 0) {
    present = true;
    value = arg.substr(name.size() + 1);
    return true;
  }
  return false;
}

}  // namespace

bool parseKivdebugOptions(const std::vector<std::string>& args, KivdebugOptions& options,
                          std::string& problem) {
  options = KivdebugOptions();
  bool programNamed = false;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool present = false;
    std::string value;
    if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      if (arg == "--") {
        optionsEnded = true;
      } else if (arg == "--help" || arg == "-h") {
        options.help = true;
      } else if (arg == "--run") {
        options.run = true;
      } else if (arg == "--trace") {
        options.trace = true;
      } else if (optionValue(args, i, "--input", present, value)) {
        if (!present || value.empty()) {
          problem = "kivdebug: --input needs a file name";
          return false;
        }
        options.hasInput = true;
        options.inputPath = value;
      } else if (optionValue(args, i, "--max-steps", present, value)) {
        unsigned long long any = 0;
        const bool digits =
            !value.empty() && value.find_first_not_of("0123456789") == std::string::npos;
        if (present && digits && (!parseCount(value, UINT64_MAX, any) || any > kMaxStepLimit)) {
          problem = "kivdebug: --max-steps takes at most " + std::to_string(kMaxStepLimit) +
                    " records, and " + value + " is more";
          return false;
        }
        if (!present || !parseCount(value, kMaxStepLimit, options.maxSteps) ||
            options.maxSteps == 0) {
          problem =
              "kivdebug: --max-steps needs a number of records above 0, such as --max-steps 100000";
          return false;
        }
        options.limited = true;
      } else {
        problem = "kivdebug: unknown option \"" + arg + "\"";
        return false;
      }
      continue;
    }
    if (programNamed) {
      problem = "kivdebug: one program only, and \"" + arg + "\" is a second";
      return false;
    }
    options.program = arg;
    programNamed = true;
  }
  if (!programNamed && !options.help) {
    problem = "kivdebug: name the program to debug, a .kiv or a .tarnel file";
    return false;
  }
  return true;
}
