// The tarnel_check driver; see check_driver.h.
#include "check_driver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "check_source.h"
#include "diagnostic_report.h"
#include "fix_apply.h"
#include "json_report.h"
#include "output_file.h"
#include "source_file.h"
#include "unified_diff.h"

namespace {

const char kUsage[] =
    "usage: tarnel_check [--fix | --diff] [--format=text | --format=json] FILE...";

enum class Mode { Check, Fix, Diff };
enum class Format { Text, Json };

struct Options {
  Mode mode = Mode::Check;
  Format format = Format::Text;
  std::vector<std::string> files;
};

// False for an option the program does not know, two modes at once, a
// diff asked for as JSON, or no file.
bool parseOptions(const std::vector<std::string>& args, Options& options) {
  bool filesOnly = false;
  bool modeGiven = false;
  for (const std::string& arg : args) {
    if (filesOnly || arg.empty() || arg[0] != '-' || arg == "-") {
      options.files.push_back(arg);
    } else if (arg == "--") {
      filesOnly = true;
    } else if (arg == "--fix" || arg == "--diff") {
      Mode mode = arg == "--fix" ? Mode::Fix : Mode::Diff;
      if (modeGiven && options.mode != mode) return false;
      options.mode = mode;
      modeGiven = true;
    } else if (arg == "--format=json") {
      options.format = Format::Json;
    } else if (arg == "--format=text") {
      options.format = Format::Text;
    } else {
      return false;
    }
  }
  if (options.mode == Mode::Diff && options.format == Format::Json) return false;
  return !options.files.empty();
}

// The file that --fix replaces for path: the file itself, links followed,
// so that a link stays a link and its target gets the fixes. False, with
// the reason, for anything but a regular file this process may write.
bool fixTarget(const std::string& path, std::string& target, std::string& reason) {
  char* resolved = realpath(path.c_str(), nullptr);
  if (resolved == nullptr) {
    reason = std::strerror(errno);
    return false;
  }
  target = resolved;
  std::free(resolved);
  struct stat info {};
  if (stat(target.c_str(), &info) != 0) {
    reason = std::strerror(errno);
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    reason = "not a regular file";
    return false;
  }
  // A read-only file stays as it is, although the folder would let a new
  // file be renamed over it.
  if (access(target.c_str(), W_OK) != 0) {
    reason = std::strerror(errno);
    return false;
  }
  return true;
}

class CheckRun {
 public:
  CheckRun(const Options& options, std::ostream& out) : options_(options), out_(out) {}

  int run() {
    for (const std::string& path : options_.files) checkFile(path);
    if (options_.format == Format::Json) {
      out_ << jsonReport(reports_) << std::flush;
    } else if (options_.mode != Mode::Diff) {
      std::string summary = summaryLine(totals_);
      if (options_.mode == Mode::Fix) {
        summary +=
            "; " + std::to_string(fixesMade_) + (fixesMade_ == 1 ? " fix" : " fixes") + " made";
      }
      out_ << summary << std::endl;
    }
    if (troubled_) return 2;
    return totals_.errors > 0 ? 1 : 0;
  }

 private:
  void checkFile(const std::string& path) {
    InputFile file = readInputFile(path);
    if (file.status != InputStatus::Read) {
      std::string reason = file.reason;
      if (file.status == InputStatus::TooLarge) {
        reason = std::string("too large (") + kMaxInputFileText + " or more)";
      }
      reportTrouble("read", path, reason);
      return;
    }
    const std::string& text = file.text;
    FileReport report;
    report.path = path;
    if (options_.mode == Mode::Check) {
      report.diagnostics = checkSource(text);
      finish(report, text);
      return;
    }
    SafeFixes fixed = fixSafely(text);
    if (options_.mode == Mode::Diff) {
      out_ << unifiedDiff(path, text, fixed.text, fixed.lineOrigins) << std::flush;
      count(fixed.remaining, totals_);
      ++totals_.files;
      return;
    }
    if (!fixed.applied.empty()) {
      std::string target;
      std::string reason;
      WriteResult written;
      if (fixTarget(path, target, reason)) {
        written = writeFileAtomically(target, fixed.text);
        reason = written.reason;
      }
      if (!written.written) {
        troubled_ = true;
        report.error = "cannot write" + (reason.empty() ? "" : ": " + reason);
        if (options_.format == Format::Text) {
          out_ << "tarnel_check: cannot write " << path << (reason.empty() ? "" : ": " + reason)
               << std::endl;
        }
        report.diagnostics = checkSource(text);
        finish(report, text);
        return;
      }
    }
    fixesMade_ += static_cast<int>(fixed.applied.size());
    report.fixed = std::move(fixed.applied);
    report.diagnostics = std::move(fixed.remaining);
    finish(report, fixed.text);
  }

  // Writes or keeps the report of a file whose text is now text.
  void finish(FileReport& report, const std::string& text) {
    count(report.diagnostics, totals_);
    ++totals_.files;
    if (options_.format == Format::Json) {
      reports_.push_back(std::move(report));
      return;
    }
    for (const AppliedFix& fix : report.fixed) {
      out_ << report.path << ":" << fix.line << ":" << fix.column << ": fixed: " << fix.description
           << "\n";
    }
    if (report.diagnostics.empty()) return;
    std::string shown = text;
    prepareSourceText(shown);
    out_ << formatDiagnostics(report.path, shown, report.diagnostics) << std::flush;
  }

  void reportTrouble(const char* what, const std::string& path, const std::string& reason) {
    troubled_ = true;
    if (options_.format == Format::Json) {
      FileReport report;
      report.path = path;
      report.unreadable = true;
      report.error = std::string("cannot ") + what + (reason.empty() ? "" : ": " + reason);
      reports_.push_back(std::move(report));
      return;
    }
    out_ << "tarnel_check: cannot " << what << " " << path;
    if (!reason.empty()) out_ << ": " << reason;
    out_ << std::endl;
  }

  const Options& options_;
  std::ostream& out_;
  CheckTotals totals_;
  int fixesMade_ = 0;
  bool troubled_ = false;
  std::vector<FileReport> reports_;
};

}  // namespace

int runCheck(const std::vector<std::string>& args, std::ostream& out) {
  Options options;
  if (!parseOptions(args, options)) {
    out << kUsage << std::endl;
    return 2;
  }
  return CheckRun(options, out).run();
}
