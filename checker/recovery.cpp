// Reading on after a brace or block error; see recovery.h.
#include "recovery.h"

#include <algorithm>
#include <map>

#include "block_model.h"
#include "checks.h"

namespace {

// Repairs answer one structural error at a time; a text with more of them
// gets a round for each, up to this many.
constexpr int kMaxRepairRounds = 4;

// The copy of a text under repair, line by line.
struct RepairedText {
  std::vector<std::string> lines;  // without line ends
  std::vector<int> origins;        // each line's line in the text as written; 0 if added
  int firstLine = 0;               // the first line of the text as written a repair touched
  std::vector<std::string> assumptions;

  std::string text() const {
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i > 0) joined += "\r\n";
      joined += lines[i];
    }
    return joined;
  }

  // The line of the text as written that line (of the copy) stands at or
  // before; the end of the text for one past the last.
  int writtenLineAt(int line) const {
    for (std::size_t i = static_cast<std::size_t>(std::max(line, 1) - 1); i < origins.size(); ++i) {
      if (origins[i] != 0) return origins[i];
    }
    return 0;
  }
};

std::string placeWords(int writtenLine) {
  return writtenLine == 0 ? std::string("at the end of the file")
                          : "before line " + std::to_string(writtenLine);
}

std::string describe(const Repair& repair, const RepairedText& text) {
  int line = text.writtenLineAt(repair.line);
  std::string onLine = " on line " + std::to_string(line);
  switch (repair.kind) {
    case Repair::InsertLine:
      return (repair.text == "}" ? std::string("a \"}\" ")
                                 : "a line " + quoted(repair.text) + " ") +
             placeWords(line);
    case Repair::BlankByte: {
      const std::string& written = text.lines[static_cast<std::size_t>(repair.line - 1)];
      char byte = written[static_cast<std::size_t>(repair.column - 1)];
      return "no " + quoted(std::string(1, byte)) + onLine;
    }
    case Repair::AppendToLine:
      return repair.text == "\"" ? "a closing double quote at the end of the text" + onLine
                                 : "a " + quoted(trimmed(repair.text)) + " at the end of line " +
                                       std::to_string(line);
  }
  return std::string();
}

void apply(std::vector<Repair> repairs, RepairedText& text) {
  const int count = static_cast<int>(text.lines.size());
  std::vector<Repair> usable;
  for (const Repair& repair : repairs) {
    bool fits = repair.kind == Repair::InsertLine ? repair.line >= 1 && repair.line <= count + 1
                                                  : repair.line >= 1 && repair.line <= count;
    if (repair.kind == Repair::BlankByte && fits) {
      fits = repair.column >= 1 &&
             repair.column <=
                 static_cast<int>(text.lines[static_cast<std::size_t>(repair.line - 1)].size());
    }
    if (!fits) continue;
    text.assumptions.push_back(describe(repair, text));
    int written = text.writtenLineAt(repair.line);
    if (written == 0) written = text.origins.empty() ? 1 : text.origins.back();
    if (text.firstLine == 0 || written < text.firstLine) text.firstLine = written;
    usable.push_back(repair);
  }
  // Changes within lines first, then whole lines from the last place up,
  // so that each repair finds the line numbers it was planned with.
  for (const Repair& repair : usable) {
    std::string& line = text.lines[static_cast<std::size_t>(repair.line - 1)];
    if (repair.kind == Repair::BlankByte) {
      line[static_cast<std::size_t>(repair.column - 1)] = ' ';
    } else if (repair.kind == Repair::AppendToLine) {
      std::size_t comment = line.find(';');
      if (comment == std::string::npos) {
        line += repair.text;
      } else {
        line.insert(comment, repair.statementLine ? repair.text + " " : repair.text);
      }
    }
  }
  std::map<int, std::vector<std::string>> inserted;
  for (const Repair& repair : usable) {
    if (repair.kind == Repair::InsertLine) inserted[repair.line].push_back(repair.text);
  }
  for (auto place = inserted.rbegin(); place != inserted.rend(); ++place) {
    auto at = static_cast<long>(place->first - 1);
    text.lines.insert(text.lines.begin() + at, place->second.begin(), place->second.end());
    text.origins.insert(text.origins.begin() + at, place->second.size(), 0);
  }
}

bool alreadyReported(const std::vector<Diagnostic>& reported, const Diagnostic& diagnostic) {
  for (const Diagnostic& other : reported) {
    if (other.line == diagnostic.line && other.column == diagnostic.column &&
        other.message == diagnostic.message) {
      return true;
    }
  }
  return false;
}

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) text += i + 1 == words.size() ? " and " : ", ";
    text += words[i];
  }
  return text;
}

// Moves what was found in the copy to the places of the text as written.
std::vector<Diagnostic> placeInWrittenText(const CheckContext& context,
                                           std::vector<Diagnostic> found, const RepairedText& text,
                                           const std::vector<Diagnostic>& reported,
                                           const Diagnostic& error) {
  auto origin = [&](int line) {
    return line >= 1 && line <= static_cast<int>(text.origins.size())
               ? text.origins[static_cast<std::size_t>(line - 1)]
               : 0;
  };
  std::string cause = "this may follow from the error on line " + std::to_string(error.line) +
                      ": to read on, the checker assumed " + joined(text.assumptions);
  std::vector<Diagnostic> placed;
  for (Diagnostic& diagnostic : found) {
    diagnostic.line = origin(diagnostic.line);
    if (diagnostic.line == 0) continue;
    context.placeInside(diagnostic.line, diagnostic.column, diagnostic.length);
    if (alreadyReported(reported, diagnostic)) continue;
    std::vector<DiagnosticNote> notes;
    for (DiagnosticNote& note : diagnostic.notes) {
      note.line = origin(note.line);
      if (note.line == 0) continue;
      context.placeInside(note.line, note.column, note.length);
      notes.push_back(std::move(note));
    }
    diagnostic.notes = std::move(notes);
    std::vector<FixIt> fixes;
    for (FixIt& fix : diagnostic.fixes) {
      bool kept = true;
      for (FixEdit& edit : fix.edits) {
        edit.line = origin(edit.line);
        // An edit must fit the line as written, which a repair may have
        // made longer.
        kept = kept && edit.line != 0 &&
               edit.column + edit.length - 1 <= widthOf(context.writtenLine(edit.line));
      }
      // Made for a text the checker repaired, a fix is never more than a
      // suggestion.
      fix.safe = false;
      if (kept) fixes.push_back(std::move(fix));
    }
    diagnostic.fixes = std::move(fixes);
    if (diagnostic.line >= text.firstLine) {
      diagnostic.afterRecovery = true;
      context.attach(diagnostic, SourcePosition{error.line, error.column}, error.length, cause);
    }
    placed.push_back(std::move(diagnostic));
  }
  return placed;
}

}  // namespace

std::vector<Diagnostic> diagnosticsAfterRecovery(const CheckContext& context,
                                                 const std::vector<Diagnostic>& reported,
                                                 const Diagnostic& error) {
  RepairedText text;
  for (int line = 1; line <= context.lineCount(); ++line) {
    text.lines.push_back(context.writtenLine(line));
    text.origins.push_back(line);
  }
  std::vector<Repair> repairs;
  if (!planRepairs(context, repairs)) return {};
  apply(repairs, text);
  for (int round = 1; round <= kMaxRepairRounds; ++round) {
    CheckContext repaired(text.text());
    if (repaired.assembler().stop == SourceStop::None) {
      runChecks(repaired);
      return placeInWrittenText(context, repaired.takeDiagnostics(), text, reported, error);
    }
    repairs.clear();
    if (round == kMaxRepairRounds || !planRepairs(repaired, repairs)) break;
    apply(repairs, text);
  }
  return {};
}
