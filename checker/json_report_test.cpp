// The JSON report: every byte of a message or replacement survives as a
// JSON reader can read it, and the document holds what the text report
// holds.
#include "json_report.h"

#include <gtest/gtest.h>

namespace {

std::string jsonString(const std::string& bytes) {
  std::string out;
  appendJsonString(out, bytes);
  return out;
}

TEST(JsonReport, EscapesEveryByteThatNeedsIt) {
  struct Case {
    std::string bytes;
    const char* wanted;
  };
  const Case cases[] = {
      {"", "\"\""},
      {"say \"hi\" \\n", "\"say \\\"hi\\\" \\\\n\""},
      {"a\r\nb\tc", "\"a\\r\\nb\\tc\""},
      {std::string("\0\x01\x1f\x7f", 4), "\"\\u0000\\u0001\\u001f\\u007f\""},
      {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
       "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\""},
      // Bytes that are no UTF-8 character, each kept as \udcXX.
      {"caf\xE9", "\"caf\\udce9\""},
      {"\xC3", "\"\\udcc3\""},                                   // cut short
      {"\xC0\xAF", "\"\\udcc0\\udcaf\""},                        // overlong
      {"\xED\xA0\x80", "\"\\udced\\udca0\\udc80\""},             // a surrogate
      {"\xF4\x90\x80\x80", "\"\\udcf4\\udc90\\udc80\\udc80\""},  // past U+10FFFF
      {"\xE2\x82", "\"\\udce2\\udc82\""},
  };
  for (const Case& c : cases) EXPECT_EQ(jsonString(c.bytes), c.wanted);
}

TEST(JsonReport, WritesFilesDiagnosticsNotesFixesAndTotals) {
  Diagnostic warning;
  warning.line = 3;
  warning.column = 9;
  warning.length = 1;
  warning.severity = Severity::Warning;
  warning.message = "m";
  warning.afterRecovery = true;
  warning.notes.push_back(DiagnosticNote{1, 2, 3, "n"});
  FixIt fix;
  fix.description = "put a blank before the \";\"";
  fix.safe = true;
  fix.edits.push_back(FixEdit{3, 10, 0, " "});
  fix.edits.push_back(FixEdit{4, 1, 2, "\n"});
  warning.fixes.push_back(fix);
  Diagnostic note;
  note.line = 5;
  note.column = 1;
  note.severity = Severity::Note;
  note.message = "p";

  FileReport checked;
  checked.path = "a.tarnel";
  checked.diagnostics = {warning, note};
  checked.fixed.push_back(AppliedFix{2, 4, "f"});
  FileReport unreadable;
  unreadable.path = "b\".tarnel";
  unreadable.unreadable = true;
  unreadable.error = "cannot read: No such file or directory";
  FileReport empty;
  empty.path = "c.tarnel";

  EXPECT_EQ(jsonReport({checked, unreadable, empty}),
            "{\"version\": 1,\n"
            " \"files\": [\n"
            "    {\"path\": \"a.tarnel\",\n"
            "     \"fixed\": [{\"line\": 2, \"column\": 4, \"description\": \"f\"}],\n"
            "     \"diagnostics\": [\n"
            "       {\"line\": 3, \"column\": 9, \"length\": 1, \"severity\": \"warning\", "
            "\"message\": \"m\", \"afterRecovery\": true,\n"
            "        \"notes\": [{\"line\": 1, \"column\": 2, \"length\": 3, \"message\": "
            "\"n\"}],\n"
            "        \"fixes\": [{\"description\": \"put a blank before the \\\";\\\"\", "
            "\"safe\": true, \"edits\": [{\"line\": 3, \"column\": 10, \"length\": 0, "
            "\"replacement\": \" \"}, {\"line\": 4, \"column\": 1, \"length\": 2, "
            "\"replacement\": \"\\n\"}]}]},\n"
            "       {\"line\": 5, \"column\": 1, \"length\": 1, \"severity\": \"note\", "
            "\"message\": \"p\", \"afterRecovery\": false,\n"
            "        \"notes\": [],\n"
            "        \"fixes\": []}]},\n"
            "    {\"path\": \"b\\\".tarnel\", \"error\": \"cannot read: No such file or "
            "directory\"},\n"
            "    {\"path\": \"c.tarnel\",\n"
            "     \"diagnostics\": []}],\n"
            " \"summary\": {\"errors\": 0, \"warnings\": 1, \"notes\": 1, \"files\": 2}}\n");
}

}  // namespace
