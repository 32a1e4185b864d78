// The diagnostics as JSON; see diagnostics_json.h.
#include "diagnostics_json.h"

#include "json_text.h"

namespace {

void appendPlace(std::string& out, int line, int column, int length) {
  out += "\"line\":" + std::to_string(line) + ",\"column\":" + std::to_string(column) +
         ",\"length\":" + std::to_string(length);
}

const char* severityName(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return "error";
    case Severity::Warning:
      return "warning";
    case Severity::Note:
      return "note";
  }
  return "note";
}

}  // namespace

std::string diagnosticsToJson(const std::vector<Diagnostic>& diagnostics) {
  std::string out = "[";
  for (const Diagnostic& diagnostic : diagnostics) {
    if (out.size() > 1) out += ',';
    out += '{';
    appendPlace(out, diagnostic.line, diagnostic.column, diagnostic.length);
    out += ",\"severity\":\"";
    out += severityName(diagnostic.severity);
    out += "\",\"message\":";
    appendJsonString(out, diagnostic.message);
    out += ",\"notes\":[";
    bool first = true;
    for (const DiagnosticNote& note : diagnostic.notes) {
      if (!first) out += ',';
      first = false;
      out += '{';
      appendPlace(out, note.line, note.column, note.length);
      out += ",\"message\":";
      appendJsonString(out, note.message);
      out += '}';
    }
    out += "]}";
  }
  out += ']';
  return out;
}
