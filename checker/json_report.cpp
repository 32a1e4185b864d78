// The JSON report; see json_report.h.
#include "json_report.h"

#include <cstdio>

#include "diagnostic_report.h"

namespace {

const char* severityName(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return "error";
    case Severity::Warning:
      return "warning";
    case Severity::Note:
      break;
  }
  return "note";
}

// The length of the well-formed UTF-8 sequence at bytes[at] (a character
// other than a surrogate, in its shortest form), or 0 when there is none.
std::size_t utf8SequenceAt(const std::string& bytes, std::size_t at) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  unsigned char first = byte(at);
  std::size_t length = 0;
  unsigned long code = 0;
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
    code = first & 0x1Fu;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    code = first & 0x0Fu;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    code = first & 0x07u;
  } else {
    return 0;
  }
  if (at + length > bytes.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(at + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + k) & 0x3Fu);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10FFFF ||
      (code >= 0xD800 && code <= 0xDFFF)) {
    return 0;
  }
  return length;
}

void appendEscape(std::string& out, unsigned code) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\u%04x", code);
  out += buffer;
}

class JsonWriter {
 public:
  std::string take() { return std::move(out_); }

  void raw(const char* text) { out_ += text; }
  void key(const char* name) {
    out_ += '"';
    out_ += name;
    out_ += "\": ";
  }
  void number(int value) { out_ += std::to_string(value); }
  void boolean(bool value) { out_ += value ? "true" : "false"; }
  void string(const std::string& bytes) { appendJsonString(out_, bytes); }

  // "line", "column" and, unless length is negative, "length".
  void place(int line, int column, int length) {
    key("line");
    number(line);
    raw(", ");
    key("column");
    number(column);
    if (length >= 0) {
      raw(", ");
      key("length");
      number(length);
    }
  }

 private:
  std::string out_;
};

void writeFix(JsonWriter& json, const FixIt& fix) {
  json.raw("{");
  json.key("description");
  json.string(fix.description);
  json.raw(", ");
  json.key("safe");
  json.boolean(fix.safe);
  json.raw(", ");
  json.key("edits");
  json.raw("[");
  for (std::size_t i = 0; i < fix.edits.size(); ++i) {
    const FixEdit& edit = fix.edits[i];
    json.raw(i == 0 ? "{" : ", {");
    json.place(edit.line, edit.column, edit.length);
    json.raw(", ");
    json.key("replacement");
    json.string(edit.replacement);
    json.raw("}");
  }
  json.raw("]}");
}

void writeDiagnostic(JsonWriter& json, const Diagnostic& diagnostic) {
  json.raw("{");
  json.place(diagnostic.line, diagnostic.column, diagnostic.length);
  json.raw(", ");
  json.key("severity");
  json.string(severityName(diagnostic.severity));
  json.raw(", ");
  json.key("message");
  json.string(diagnostic.message);
  json.raw(", ");
  json.key("afterRecovery");
  json.boolean(diagnostic.afterRecovery);
  json.raw(",\n        ");
  json.key("notes");
  json.raw("[");
  for (std::size_t i = 0; i < diagnostic.notes.size(); ++i) {
    const DiagnosticNote& note = diagnostic.notes[i];
    json.raw(i == 0 ? "{" : ", {");
    json.place(note.line, note.column, note.length);
    json.raw(", ");
    json.key("message");
    json.string(note.message);
    json.raw("}");
  }
  json.raw("],\n        ");
  json.key("fixes");
  json.raw("[");
  for (std::size_t i = 0; i < diagnostic.fixes.size(); ++i) {
    if (i > 0) json.raw(",\n          ");
    writeFix(json, diagnostic.fixes[i]);
  }
  json.raw("]}");
}

void writeFile(JsonWriter& json, const FileReport& file) {
  json.raw("{");
  json.key("path");
  json.string(file.path);
  if (!file.error.empty()) {
    json.raw(", ");
    json.key("error");
    json.string(file.error);
  }
  if (file.unreadable) {
    json.raw("}");
    return;
  }
  if (!file.fixed.empty()) {
    json.raw(",\n     ");
    json.key("fixed");
    json.raw("[");
    for (std::size_t i = 0; i < file.fixed.size(); ++i) {
      const AppliedFix& fix = file.fixed[i];
      json.raw(i == 0 ? "{" : ",\n       {");
      json.place(fix.line, fix.column, -1);
      json.raw(", ");
      json.key("description");
      json.string(fix.description);
      json.raw("}");
    }
    json.raw("]");
  }
  json.raw(",\n     ");
  json.key("diagnostics");
  json.raw("[");
  for (std::size_t i = 0; i < file.diagnostics.size(); ++i) {
    json.raw(i == 0 ? "\n       " : ",\n       ");
    writeDiagnostic(json, file.diagnostics[i]);
  }
  json.raw("]}");
}

}  // namespace

void appendJsonString(std::string& out, const std::string& bytes) {
  out += '"';
  for (std::size_t i = 0; i < bytes.size();) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      appendEscape(out, c);
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (std::size_t length = utf8SequenceAt(bytes, i)) {
      out.append(bytes, i, length);
      i += length;
      continue;
    } else {
      appendEscape(out, 0xDC00u + c);
    }
    ++i;
  }
  out += '"';
}

std::string jsonReport(const std::vector<FileReport>& files) {
  JsonWriter json;
  CheckTotals totals;
  json.raw("{");
  json.key("version");
  json.number(1);
  json.raw(",\n ");
  json.key("files");
  json.raw("[");
  for (std::size_t i = 0; i < files.size(); ++i) {
    json.raw(i == 0 ? "\n    " : ",\n    ");
    writeFile(json, files[i]);
    if (files[i].unreadable) continue;
    count(files[i].diagnostics, totals);
    ++totals.files;
  }
  json.raw("],\n ");
  json.key("summary");
  json.raw("{");
  json.key("errors");
  json.number(totals.errors);
  json.raw(", ");
  json.key("warnings");
  json.number(totals.warnings);
  json.raw(", ");
  json.key("notes");
  json.number(totals.notes);
  json.raw(", ");
  json.key("files");
  json.number(totals.files);
  json.raw("}}\n");
  return json.take();
}
