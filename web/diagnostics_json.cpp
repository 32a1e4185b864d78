// The diagnostics as JSON; see diagnostics_json.h.
#include "diagnostics_json.h"

namespace {

void appendString(std::string& out, const std::string& text) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xf];
    } else {
      out += c;
    }
  }
  out += '"';
}

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
    appendString(out, diagnostic.message);
    out += ",\"notes\":[";
    bool first = true;
    for (const DiagnosticNote& note : diagnostic.notes) {
      if (!first) out += ',';
      first = false;
      out += '{';
      appendPlace(out, note.line, note.column, note.length);
      out += ",\"message\":";
      appendString(out, note.message);
      out += '}';
    }
    out += "]}";
  }
  out += ']';
  return out;
}
