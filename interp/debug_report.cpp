// debug.html: the variable and code tables as loaded, for a browser. The
// page holds one line break, after the code heading. Every text taken from
// the bytecode file has '&', '<' and '>' written as entities, so it shows as
// written and cannot add markup to the page.
#include <ostream>
#include <string>
#include <string_view>

#include "interpreter.h"

namespace {

// Gathers the page in pieces of about 64 KiB before handing them to the
// stream, so that a large table costs one copy per byte.
class ReportWriter {
 public:
  explicit ReportWriter(std::ostream& report) : report_(report) { buffer_.reserve(kPiece + 256); }
  ~ReportWriter() { flush(); }

  ReportWriter& operator<<(std::string_view text) {
    buffer_.append(text.data(), text.size());
    if (buffer_.size() >= kPiece) flush();
    return *this;
  }
  ReportWriter& escaped(std::string_view text) {
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (c != '&' && c != '<' && c != '>') continue;
      buffer_.append(text.data() + from, i - from);
      buffer_ += c == '&' ? "&amp;" : c == '<' ? "&lt;" : "&gt;";
      from = i + 1;
    }
    return *this << text.substr(from);
  }
  void flush() {
    report_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kPiece = std::size_t{1} << 16;
  std::ostream& report_;
  std::string buffer_;
};

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

void writeVariableRow(ReportWriter& report, const VariableRecord& variable) {
  report << "<font color=\"blue\">";
  report.escaped(variable.name) << "</font> of type" << typeCaption(variable.type)
                                << " = <font color=\"green\">";
  report.escaped(variable.value) << "</font><br>";
}

void writeLabelRow(ReportWriter& report, const CodeRecordView& record) {
  report << "<font color=\"blue\">";
  report.escaped(record.label) << ":</font><br>";
}

void writeInstructionRow(ReportWriter& report, const CodeRecordView& record) {
  report << "opcode (<font color=\"green\">";
  report.escaped(record.opcode) << "</font>) operands (<font color=\"green\">";
  report.escaped(record.operand1) << ",";
  report.escaped(record.operand2) << "</font>)<br>";
}

}  // namespace

WriteResult Interpreter::writeDebugReport() const {
  AtomicOutputFile report("debug.html");
  writeDebugReport(report.stream());
  return report.commit();
}

void Interpreter::writeDebugReport(std::ostream& report) const {
  {
    ReportWriter writer(report);
    writer << "<HTML><BODY><FONT COLOR=\"#BD0000\" FACE=\"FIXEDSYS\">";
    writer << "<b>Variables</b><br><br>";
    for (const VariableRecord& variable : variables) writeVariableRow(writer, variable);
    writer << "<br><br><b>Code Layout</b><br><br>"
           << "\n";
  }
  report.flush();
  ReportWriter writer(report);
  for (int i = 0; i < code.count(); ++i) {
    const CodeRecordView record = code.view(i);
    // A record may carry both a label and an opcode; each gets its row.
    if (!record.label.empty()) writeLabelRow(writer, record);
    if (record.opcode != "-1") writeInstructionRow(writer, record);
  }
  writer << "</FONT></BODY></HTML>";
}
