// The blocks a writer meant; see block_model.h.
#include "block_model.h"

#include <algorithm>
#include <cctype>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The whole word at offset, or empty when offset starts none.
std::string wordAt(const std::string& text, std::size_t offset) {
  if (offset > 0 && isNameByte(text[offset - 1])) return std::string();
  std::size_t end = offset;
  while (end < text.size() && isNameByte(text[end])) ++end;
  return text.substr(offset, end - offset);
}

// The kind of block a keyword opens, when the keyword is one of its own
// and its "{" follows: var, begin; otherwise none.
enum class Inner { None, Variables, Code };

Inner blockOpenedAt(const std::string& text, std::size_t offset, std::size_t& length) {
  std::string word = wordAt(text, offset);
  if (word != "var" && word != "begin") return Inner::None;
  std::size_t next = offset + word.size();
  while (next < text.size() && isBlank(text[next])) ++next;
  if (next >= text.size() || text[next] != '{') return Inner::None;
  length = word.size();
  return word == "var" ? Inner::Variables : Inner::Code;
}

BraceFault unclosed(Inner inner) {
  return inner == Inner::Variables ? BraceFault::UnclosedVariables : BraceFault::UnclosedCode;
}

}  // namespace

bool insideQuotes(const std::string& line, int column) {
  std::size_t before = std::min(line.size(), static_cast<std::size_t>(column > 0 ? column - 1 : 0));
  return std::count(line.begin(), line.begin() + static_cast<long>(before), '"') % 2 == 1;
}

bool isNameByte(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '&' || c == '$' ||
         c == '#';
}

long meantKeyword(const CheckContext& context, const std::string& keyword, bool braceFollows) {
  const std::string& text = context.assembler().text;
  for (std::size_t at = text.find(keyword); at != std::string::npos;
       at = text.find(keyword, at + 1)) {
    std::size_t after = at + keyword.size();
    if (at > 0 && isNameByte(text[at - 1])) continue;
    if (after < text.size() && isNameByte(text[after])) continue;
    SourcePosition position = context.positionOf(static_cast<long>(at));
    if (insideQuotes(context.normalisedLine(position.line), position.column)) continue;
    if (braceFollows) {
      std::size_t next = text.find_first_not_of(" \t\r\n", after);
      if (next == std::string::npos || text[next] != '{') continue;
    }
    return static_cast<long>(at);
  }
  return -1;
}

std::vector<long> unpartneredBraces(const CheckContext& context, bool& moreOpening) {
  const std::string& text = context.assembler().text;
  std::vector<long> unclosedBraces;
  std::vector<long> unopened;
  std::vector<long> quotedOpening;
  std::vector<long> quotedClosing;
  long surplus = 0;       // "{" minus "}", all of them
  long plainSurplus = 0;  // the same outside double quotes
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '{' && c != '}') continue;
    long offset = static_cast<long>(i);
    surplus += c == '{' ? 1 : -1;
    SourcePosition position = context.positionOf(offset);
    if (insideQuotes(context.normalisedLine(position.line), position.column)) {
      (c == '{' ? quotedOpening : quotedClosing).push_back(offset);
      continue;
    }
    plainSurplus += c == '{' ? 1 : -1;
    if (c == '{') {
      unclosedBraces.push_back(offset);
    } else if (unclosedBraces.empty()) {
      unopened.push_back(offset);
    } else {
      unclosedBraces.pop_back();
    }
  }
  moreOpening = surplus > 0;
  if (moreOpening) return plainSurplus > 0 ? unclosedBraces : quotedOpening;
  return plainSurplus < 0 ? unopened : quotedClosing;
}

std::vector<BlockFault> braceFaults(const CheckContext& context) {
  const std::string& text = context.assembler().text;
  std::vector<BlockFault> faults;
  long header = -1;  // the first "kiv" of its own, outside quotes
  long objectBrace = -1;
  long objectCloser = -1;  // the "}" that ended the program
  bool objectOpen = false;
  Inner inner = Inner::None;
  long innerBrace = -1;
  Inner pending = Inner::None;  // a block keyword whose "{" comes next
  long surplus = 0;             // "{" minus "}" in the whole text, quoted ones too
  bool quoted_ = false;
  for (std::size_t at = 0; at < text.size(); ++at) {
    char c = text[at];
    if (c == '\n') quoted_ = false;  // a text written on a line ends with it
    if (c == '"') quoted_ = !quoted_;
    if (c == '{') ++surplus;
    if (c == '}') --surplus;
    if (quoted_) continue;
    std::size_t length = 0;
    Inner opened = blockOpenedAt(text, at, length);
    if (opened != Inner::None) {
      pending = opened;
      if (!objectOpen && objectCloser >= 0) {
        // A block after the program's end: the "}" that ended it came too
        // early.
        faults.push_back(BlockFault{BraceFault::ExtraClosing, objectCloser, 0});
        objectOpen = true;
        objectCloser = -1;
      }
      if (inner != Inner::None) {
        // The next block begins while one is still open: its "}" belongs
        // before this keyword's line.
        faults.push_back(BlockFault{unclosed(inner), innerBrace,
                                    context.positionOf(static_cast<long>(at)).line});
        inner = Inner::None;
      }
      at += length - 1;
      continue;
    }
    if (header < 0 && wordAt(text, at) == "kiv") {
      header = static_cast<long>(at);
      at += 2;
      continue;
    }
    if (c == '{') {
      if (pending != Inner::None) {
        if (!objectOpen && header >= 0 && objectBrace < 0) {
          faults.push_back(BlockFault{BraceFault::HeaderWithoutBrace, header, 0});
          objectOpen = true;
          objectBrace = header;
        }
        inner = pending;
        innerBrace = static_cast<long>(at);
        pending = Inner::None;
      } else if (!objectOpen && header >= 0 && objectBrace < 0) {
        objectOpen = true;
        objectBrace = static_cast<long>(at);
      } else {
        faults.push_back(BlockFault{BraceFault::ExtraOpening, static_cast<long>(at), 0});
      }
    } else if (c == '}') {
      if (inner != Inner::None) {
        inner = Inner::None;
      } else if (objectOpen) {
        objectOpen = false;
        objectCloser = static_cast<long>(at);
      } else {
        faults.push_back(BlockFault{BraceFault::ExtraClosing, static_cast<long>(at), 0});
      }
    }
  }
  if (inner != Inner::None) faults.push_back(BlockFault{unclosed(inner), innerBrace, 0});
  if (objectOpen) faults.push_back(BlockFault{BraceFault::UnclosedObject, objectBrace, 0});
  // Putting the faults right must balance the whole text, or they are not
  // the ones tarnel counted.
  for (const BlockFault& fault : faults) {
    switch (fault.kind) {
      case BraceFault::UnclosedVariables:
      case BraceFault::UnclosedCode:
      case BraceFault::UnclosedObject:
      case BraceFault::ExtraOpening:
        --surplus;
        break;
      case BraceFault::ExtraClosing:
      case BraceFault::HeaderWithoutBrace:
        ++surplus;
        break;
    }
  }
  if (surplus != 0) faults.clear();
  std::stable_sort(faults.begin(), faults.end(),
                   [](const BlockFault& a, const BlockFault& b) { return a.offset < b.offset; });
  return faults;
}

long unclosedQuoteAfter(const CheckContext& context, long offset) {
  const std::string& text = context.assembler().text;
  bool outside = true;
  long lineStart = offset + 1;
  long firstOpen = -1;  // the last quote opened on the first line that leaves one open
  long opened = -1;
  for (std::size_t i = static_cast<std::size_t>(offset + 1); i < text.size(); ++i) {
    if (text[i] == '\n' && firstOpen < 0) {
      // The line's own quotes: an odd number leaves one open.
      std::string line =
          text.substr(static_cast<std::size_t>(lineStart), i - static_cast<std::size_t>(lineStart));
      if (std::count(line.begin(), line.end(), '"') % 2 == 1) {
        firstOpen = lineStart + static_cast<long>(line.rfind('"'));
      }
      lineStart = static_cast<long>(i) + 1;
    }
    if (text[i] != '"') continue;
    outside = !outside;
    if (!outside) opened = static_cast<long>(i);
  }
  if (outside) return -1;
  return firstOpen >= 0 ? firstOpen : opened;
}

namespace {

// The repairs of unbalanced braces: the faults the blocks explain, else
// the unpartnered braces made blanks.
bool planBraceRepairs(const CheckContext& context, std::vector<Repair>& repairs) {
  const int end = context.lineCount() + 1;
  std::vector<BlockFault> faults = braceFaults(context);
  if (faults.empty()) {
    bool moreOpening = false;
    for (long offset : unpartneredBraces(context, moreOpening)) {
      SourcePosition at = context.positionOf(offset);
      repairs.push_back(Repair{Repair::BlankByte, at.line, at.column, "", false});
    }
    return !repairs.empty();
  }
  for (const BlockFault& fault : faults) {
    SourcePosition at = context.positionOf(fault.offset);
    switch (fault.kind) {
      case BraceFault::UnclosedVariables:
      case BraceFault::UnclosedCode:
      case BraceFault::UnclosedObject:
        repairs.push_back(Repair{Repair::InsertLine,
                                 fault.closeBeforeLine > 0 ? fault.closeBeforeLine : end, 0, "}",
                                 false});
        break;
      case BraceFault::ExtraClosing:
      case BraceFault::ExtraOpening:
        repairs.push_back(Repair{Repair::BlankByte, at.line, at.column, "", false});
        break;
      case BraceFault::HeaderWithoutBrace:
        repairs.push_back(Repair{Repair::AppendToLine, at.line, 0, " {", false});
        break;
    }
  }
  return true;
}

}  // namespace

bool planRepairs(const CheckContext& context, std::vector<Repair>& repairs) {
  const SourceAnalysis& analysis = context.assembler();
  const int end = context.lineCount() + 1;
  switch (analysis.stop) {
    case SourceStop::None:
      return false;
    case SourceStop::BraceBalance:
      return planBraceRepairs(context, repairs);
    case SourceStop::ObjectKeyword:
      repairs.push_back(Repair{Repair::InsertLine, 1, 0, "kiv program {", false});
      repairs.push_back(Repair{Repair::InsertLine, end, 0, "}", false});
      return true;
    case SourceStop::VariableKeyword: {
      long code = meantKeyword(context, "begin", true);
      if (code < 0) return false;
      int line = context.positionOf(code).line;
      repairs.push_back(Repair{Repair::InsertLine, line, 0, "var {", false});
      repairs.push_back(Repair{Repair::InsertLine, line, 0, "}", false});
      return true;
    }
    case SourceStop::VariableBraces:
    case SourceStop::CodeBraces: {
      const BlockOffsets& block =
          analysis.stop == SourceStop::VariableBraces ? analysis.variables : analysis.code;
      if (block.open < 0) return false;
      long quote = unclosedQuoteAfter(context, block.open);
      if (quote < 0) return false;
      int line = context.positionOf(quote).line;
      repairs.push_back(
          Repair{Repair::AppendToLine, line, 0, "\"", analysis.stop == SourceStop::CodeBraces});
      return true;
    }
    case SourceStop::ObjectBrace:
    case SourceStop::CodeKeyword:
      return false;
  }
  return false;
}
