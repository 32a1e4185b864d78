// debug.html: the variable and code tables as loaded, for a browser. The
// page holds one line break, after the code heading. Every text taken from
// the bytecode file has '&', '<' and '>' written as entities, so it shows as
// written and cannot add markup to the page.
#include <ostream>
#include <string>

#include "interpreter.h"

namespace {

std::string htmlEscaped(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c == '&') {
      result += "&amp;";
    } else if (c == '<') {
      result += "&lt;";
    } else if (c == '>') {
      result += "&gt;";
    } else {
      result += c;
    }
  }
  return result;
}

const char* typeCaption(int type) {
  switch (type) {
    case kStringVariable:
      return " string ($)";
    case kIntegerVariable:
      return " integer (&)";
    case kFloatVariable:
      return " float (#)";
    default:
      return "";
  }
}

void writeVariableRow(std::ostream& report, const VariableRecord& variable) {
  report << "<font color=\"blue\">" << htmlEscaped(variable.name) << "</font> of type"
         << typeCaption(variable.type) << " = <font color=\"green\">" << htmlEscaped(variable.value)
         << "</font><br>";
}

void writeLabelRow(std::ostream& report, const CodeRecord& record) {
  report << "<font color=\"blue\">" << htmlEscaped(record.label) << ":</font><br>";
}

void writeInstructionRow(std::ostream& report, const CodeRecord& record) {
  report << "opcode (<font color=\"green\">" << htmlEscaped(record.opcode)
         << "</font>) operands (<font color=\"green\">" << htmlEscaped(record.operand1) << ","
         << htmlEscaped(record.operand2) << "</font>)<br>";
}

}  // namespace

WriteResult Interpreter::writeDebugReport() const {
  AtomicOutputFile report("debug.html");
  writeDebugReport(report.stream());
  return report.commit();
}

void Interpreter::writeDebugReport(std::ostream& report) const {
  report << "<HTML><BODY><FONT COLOR=\"#BD0000\" FACE=\"FIXEDSYS\">";
  report << "<b>Variables</b><br><br>";
  for (const VariableRecord& variable : variables) writeVariableRow(report, variable);
  report << "<br><br><b>Code Layout</b><br><br>" << '\n' << std::flush;
  for (int i = 0; i < code.count(); ++i) {
    const CodeRecord& record = code[i];
    // A record may carry both a label and an opcode; each gets its row.
    if (!record.label.empty()) writeLabelRow(report, record);
    if (record.opcode != "-1") writeInstructionRow(report, record);
  }
  report << "</FONT></BODY></HTML>";
}
