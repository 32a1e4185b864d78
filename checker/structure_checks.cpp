// The checks of a program's outer form: the error at which the front end
// stopped, placed where it arises; block keywords that the search finds
// before their own block; semicolons meant to stand inside a text.
#include <algorithm>
#include <cctype>

#include "block_model.h"
#include "checks.h"
#include "quote_search.h"

namespace {

// The front end's own words for the structural error it stopped at: the
// last error it reported without a place, its outer blanks left out.
std::string frontEndWords(const CheckContext& context) {
  const std::vector<ReportedError>& errors = context.frontEndErrors();
  for (auto error = errors.rbegin(); error != errors.rend(); ++error) {
    if (error->position.line == 0) return trimmed(error->text);
  }
  return std::string();
}

// The brace errors as the blocks explain them, each with the repair the
// checker assumes to read on, offered as a suggestion: where a brace was
// meant is a guess.
void checkBlockFaults(CheckContext& context, const std::vector<BlockFault>& faults,
                      const std::string& stops) {
  const int end = context.lineCount() + 1;
  for (const BlockFault& fault : faults) {
    SourcePosition at = context.positionOf(fault.offset);
    int before = fault.closeBeforeLine > 0 ? fault.closeBeforeLine : end;
    std::string where = before == end ? std::string("at the end of the file")
                                      : "before line " + std::to_string(before);
    std::string message;
    switch (fault.kind) {
      case BraceFault::UnclosedVariables:
      case BraceFault::UnclosedCode: {
        const char* block = fault.kind == BraceFault::UnclosedVariables ? "var" : "begin";
        message = std::string("no \"}\" closes the ") + block + " block opened here" + stops +
                  "; end the block with a line \"}\" " + where;
        break;
      }
      case BraceFault::UnclosedObject:
        message =
            "no \"}\" closes the program's \"{\"" + stops + "; end the file with a line \"}\"";
        break;
      case BraceFault::ExtraClosing:
        message = "no \"{\" opens this \"}\"" + stops +
                  ": braces must balance across the whole file; remove it or add the missing "
                  "\"{\"";
        break;
      case BraceFault::ExtraOpening:
        message = "this \"{\" opens no block" + stops +
                  ": braces must balance across the whole file; remove it";
        break;
      case BraceFault::HeaderWithoutBrace:
        message = "the header has no \"{\"" + stops + "; write " +
                  quoted(trimmed(context.writtenLine(at.line)) + " {");
        break;
    }
    bool header = fault.kind == BraceFault::HeaderWithoutBrace;
    Diagnostic& diagnostic = context.add(Severity::Error, at, header ? 3 : 1, message);
    switch (fault.kind) {
      case BraceFault::UnclosedVariables:
      case BraceFault::UnclosedCode:
      case BraceFault::UnclosedObject:
        if (before == end) {
          const std::string& last = context.writtenLine(context.lineCount());
          CheckContext::edit(
              CheckContext::offerFix(diagnostic, "add a line \"}\" at the end", false),
              SourcePosition{context.lineCount(), widthOf(last) + 1}, 0,
              last.empty() ? "}\n" : "\n}");
        } else {
          CheckContext::edit(CheckContext::offerFix(diagnostic, "add a line \"}\" " + where, false),
                             SourcePosition{before, 1}, 0, "}\n");
        }
        break;
      case BraceFault::ExtraClosing:
      case BraceFault::ExtraOpening:
        CheckContext::edit(CheckContext::offerFix(diagnostic, "remove the brace", false), at, 1,
                           "");
        break;
      case BraceFault::HeaderWithoutBrace: {
        const std::string& line = context.writtenLine(at.line);
        CheckContext::edit(CheckContext::offerFix(diagnostic, "add the \"{\"", false),
                           SourcePosition{at.line, widthOf(line) + 1}, 0, " {");
        break;
      }
    }
  }
}

void checkBraces(CheckContext& context, const std::string& tarnelSays) {
  std::string stops = ", so tarnel stops with " + quoted(tarnelSays);
  std::vector<BlockFault> faults = braceFaults(context);
  if (!faults.empty()) {
    checkBlockFaults(context, faults, stops);
    return;
  }
  bool moreOpening = false;
  std::vector<long> blamed = unpartneredBraces(context, moreOpening);
  const char* brace = moreOpening ? "\"{\"" : "\"}\"";
  for (long offset : blamed) {
    SourcePosition position = context.positionOf(offset);
    std::string message;
    if (insideQuotes(context.normalisedLine(position.line), position.column)) {
      message = std::string("this ") + brace +
                " between double quotes still counts, and the braces of the file no longer "
                "balance" +
                stops + "; take it out of the text";
    } else if (moreOpening) {
      message = "no \"}\" closes this \"{\"" + stops +
                ": braces must balance across the whole file; add the missing \"}\"";
    } else {
      message = "no \"{\" opens this \"}\"" + stops +
                ": braces must balance across the whole file; remove it or add the missing "
                "\"{\"";
    }
    context.add(Severity::Error, position, 1, message);
  }
}

// A note at the double quote that, opened after offset and never closed,
// hides every later "}" from the block search.
void explainHiddenBrace(CheckContext& context, Diagnostic& diagnostic, long offset) {
  long opened = unclosedQuoteAfter(context, offset);
  if (opened < 0) return;
  context.attach(diagnostic, context.positionOf(opened), 1,
                 "this double quote is never closed, so every \"}\" after it is read as "
                 "text");
}

struct BlockWords {
  const char* keyword;
  const char* block;  // what the message calls the block
  const char* fix;    // how to write it
};

void checkMissingBlock(CheckContext& context, const BlockOffsets& found, const BlockWords& words,
                       const std::string& tarnelSays) {
  std::string stops = ", so tarnel stops with " + quoted(tarnelSays);
  std::string keyword = quoted(words.keyword);
  if (found.keyword == -1) {
    context.add(Severity::Error, context.endOfText(), 1,
                std::string("the program has no ") + words.block + stops + "; " + words.fix);
  } else if (found.open == -1) {
    context.add(Severity::Error, context.positionOf(found.keyword), widthOf(words.keyword),
                "no \"{\" follows this " + keyword + stops + "; " + words.fix);
  } else {
    Diagnostic& diagnostic = context.add(Severity::Error, context.positionOf(found.open), 1,
                                         std::string("no \"}\" closes the ") + words.block +
                                             " opened here" + stops + "; end it with a line \"}\"");
    explainHiddenBrace(context, diagnostic, found.open);
  }
}

const BlockWords kObjectWords = {"kiv", "\"kiv\" header",
                                 "start the program with a line \"kiv name {\""};
const BlockWords kVariableWords = {
    "var", "var block",
    "write the lines \"var {\" and \"}\" before the begin block, even with no variable in "
    "between"};
const BlockWords kCodeWords = {"begin", "begin block",
                               "write \"begin {\", the instructions and \"}\" after the var block"};

// Errors the front end reports without a place that are not the
// structural error it stopped at: placed at the program's header, in the
// front end's own words.
void checkOtherFrontEndErrors(CheckContext& context) {
  std::vector<const ReportedError*> unplaced;
  for (const ReportedError& error : context.frontEndErrors()) {
    if (error.position.line == 0) unplaced.push_back(&error);
  }
  if (context.assembler().stop != SourceStop::None && !unplaced.empty()) unplaced.pop_back();
  long header = context.assembler().object.keyword;
  for (const ReportedError* error : unplaced) {
    context.add(Severity::Error, header < 0 ? SourcePosition{1, 1} : context.positionOf(header), 3,
                "tarnel counts the error " + quoted(trimmed(error->text)) +
                    " for this program and writes no bytecode file");
  }
}

void checkStop(CheckContext& context) {
  const SourceAnalysis& analysis = context.assembler();
  std::string tarnelSays = frontEndWords(context);
  switch (analysis.stop) {
    case SourceStop::None:
      return;
    case SourceStop::BraceBalance:
      checkBraces(context, tarnelSays);
      return;
    case SourceStop::ObjectKeyword:
    case SourceStop::ObjectBrace:
      checkMissingBlock(context, analysis.object, kObjectWords, tarnelSays);
      return;
    case SourceStop::VariableKeyword:
    case SourceStop::VariableBraces:
      checkMissingBlock(context, analysis.variables, kVariableWords, tarnelSays);
      return;
    case SourceStop::CodeKeyword:
    case SourceStop::CodeBraces:
      checkMissingBlock(context, analysis.code, kCodeWords, tarnelSays);
      return;
  }
}

// The whole word of text around the keyword at offset.
std::string wordAround(const std::string& text, long offset, std::size_t length) {
  std::size_t first = static_cast<std::size_t>(offset);
  std::size_t last = first + length;
  while (first > 0 && isNameByte(text[first - 1])) --first;
  while (last < text.size() && isNameByte(text[last])) ++last;
  return text.substr(first, last - first);
}

void checkKeywordPlace(CheckContext& context, const BlockOffsets& found, const char* keyword,
                       const char* form, bool braceFollows, const char* consequence) {
  if (found.keyword < 0) return;
  const std::string& text = context.assembler().text;
  std::size_t length = std::string(keyword).size();
  SourcePosition position = context.positionOf(found.keyword);
  bool inText = insideQuotes(context.normalisedLine(position.line), position.column);
  std::string word = wordAround(text, found.keyword, length);
  long meant = meantKeyword(context, keyword, braceFollows);
  long takenBrace = findUnquotedAfter(found.keyword, text, "{");
  if (meant == found.keyword) return;
  if (meant < 0 && !inText && word == keyword) return;
  if (meant >= 0 && (takenBrace < 0 || takenBrace == findUnquotedAfter(meant, text, "{"))) {
    return;  // the same block all the same
  }

  std::string where;
  std::string fix;
  if (inText) {
    where = " in a text";
    fix = "close the double quote left open before it";
  } else if (word != keyword) {
    where = " inside the word " + quoted(word);
    fix = "choose a word without " + quoted(keyword);
  } else {
    fix = "do not write " + quoted(keyword) + " before its own block";
  }
  std::string taken = takenBrace < 0 ? "finds no \"{\" after it"
                                     : std::string(consequence) + " from the \"{\" on line " +
                                           std::to_string(context.positionOf(takenBrace).line);
  std::string message = "tarnel's search for " + quoted(keyword) + " stops at this first " +
                        quoted(keyword) + where + " and " + taken;
  if (meant < 0) {
    message += "; " + fix + " and begin the block with " + quoted(form);
  } else {
    message +=
        ", not from the one on line " + std::to_string(context.positionOf(meant).line) + "; " + fix;
  }
  Diagnostic& diagnostic =
      context.add(Severity::Warning, position, static_cast<int>(length), message);
  if (meant >= 0) {
    context.attach(diagnostic, context.positionOf(meant), static_cast<int>(length),
                   "the " + quoted(keyword) + " meant");
  }
}

void checkSemicolonsInQuotes(CheckContext& context) {
  for (int line = 1; line <= context.lineCount(); ++line) {
    const std::string& written = context.writtenLine(line);
    std::size_t semicolon = written.find(';');
    if (semicolon == std::string::npos) continue;
    int column = static_cast<int>(semicolon) + 1;
    if (!insideQuotes(written, column)) continue;
    context.add(Severity::Warning, SourcePosition{line, column}, 1,
                "this \";\" starts a comment even between double quotes: tarnel cuts the rest "
                "of the line, the closing quote with it; leave the \";\" out of the text");
  }
}

// A header whose name runs over a line end, or holds a tab: tarnel and
// tarnel_perl name their output file after it, line break and all.
void checkObjectName(CheckContext& context) {
  const SourceAnalysis& analysis = context.assembler();
  const std::string& name = analysis.objectName;
  if (analysis.object.open < 0 || name.find_first_of("\r\n\t") == std::string::npos) return;
  SourcePosition keyword = context.positionOf(analysis.object.keyword);
  SourcePosition brace = context.positionOf(analysis.object.open);
  const std::string& line = context.writtenLine(keyword.line);
  std::string shown = trimmed(part(line, static_cast<std::size_t>(keyword.column + 2)));
  bool broken = brace.line != keyword.line;
  std::string message =
      broken ? "the program's name runs on to the line of its \"{\", so tarnel writes the "
               "bytecode file as "
             : "a tab in the program's name stays in it, so tarnel writes the bytecode file as ";
  message += quoted(name + ".kiv") + " and tarnel_perl the script as " + quoted(name + ".pl") +
             "; " +
             (broken ? "put the \"{\" at the end of the line " + quoted("kiv " + shown)
                     : std::string("separate the words of the header with blanks"));
  Diagnostic& diagnostic =
      context.add(Severity::Warning, keyword, widthOf(line) - keyword.column + 1, message);
  // The name on the header's line and nothing but blanks before the brace,
  // which opens its line: the brace moves up.
  std::string between = context.assembler().text.substr(
      static_cast<std::size_t>(analysis.object.keyword + 3),
      static_cast<std::size_t>(analysis.object.open - analysis.object.keyword - 3));
  std::size_t firstBreak = between.find_first_of("\r\n");
  bool movable = broken && !shown.empty() && between.find('\t') == std::string::npos &&
                 between.find_first_not_of(" \r\n", firstBreak) == std::string::npos;
  if (!movable) return;
  FixIt& fix = CheckContext::offerFix(diagnostic, "put the \"{\" on the line of the header", true);
  std::size_t last = line.find_last_not_of(' ');
  CheckContext::edit(fix, SourcePosition{keyword.line, static_cast<int>(last) + 2}, 0, " {");
  CheckContext::edit(fix, brace, 1, "");
}

// Text that no block search reaches: before the header, between or after
// the blocks, or after the program's last "}". The front end reads only
// the blocks, so it is never assembled and never reported.
void checkTextOutsideBlocks(CheckContext& context) {
  const SourceAnalysis& analysis = context.assembler();
  if (analysis.stop != SourceStop::None) return;
  if (meantKeyword(context, "var", true) != analysis.variables.keyword ||
      meantKeyword(context, "begin", true) != analysis.code.keyword ||
      meantKeyword(context, "kiv", false) != analysis.object.keyword) {
    return;  // a keyword found in the wrong place is reported as such
  }
  const std::string& text = analysis.text;
  std::vector<std::pair<long, long>> read = {
      {analysis.object.keyword, analysis.object.open + 1},
      {analysis.variables.keyword, analysis.variables.close + 1},
      {analysis.code.keyword, analysis.code.close + 1}};
  std::sort(read.begin(), read.end());
  long from = 0;
  std::vector<std::pair<long, long>> unread;
  for (const auto& range : read) {
    if (range.first > from) unread.push_back({from, range.first});
    from = std::max(from, range.second);
  }
  unread.push_back({from, static_cast<long>(text.size())});
  for (const auto& [begin, end] : unread) {
    int reportedLine = 0;  // one warning a line
    for (long at = begin; at < end; ++at) {
      char c = text[static_cast<std::size_t>(at)];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '}' || c == '{') continue;
      SourcePosition position = context.positionOf(at);
      if (position.line == reportedLine) continue;
      reportedLine = position.line;
      std::string rest = part(context.normalisedLine(position.line),
                              static_cast<std::size_t>(position.column - 1));
      std::string shown = trimmed(rest.substr(0, rest.find_first_of("{}")));
      context.add(Severity::Warning, position, widthOf(shown),
                  quoted(shown) +
                      " stands outside the var and begin blocks, where tarnel and tarnel_perl "
                      "read nothing, so it is never assembled and never reported; move it into "
                      "the begin block or remove it");
    }
  }
}

// A double quote left open on its line: the parsers cut a block into
// lines at line feeds outside quotes only, so every line up to the next
// quote becomes part of the one that holds it.
void checkLinesJoinedByQuotes(CheckContext& context, const BlockOffsets& block, bool statements) {
  if (block.open < 0 || block.close < 0) return;
  const std::string& text = context.assembler().text;
  std::size_t start = static_cast<std::size_t>(block.open) + 1;
  std::size_t stop = static_cast<std::size_t>(block.close);
  bool inside = false;
  bool spans = false;  // the current piece holds a line feed between quotes
  std::size_t pieceStart = start;
  for (std::size_t at = start; at <= stop; ++at) {
    char c = at < stop ? text[at] : '\n';
    if (c == '"') inside = !inside;
    if (c != '\n') continue;
    if (inside) {
      spans = true;  // the line goes on: this feed is text
      continue;
    }
    if (spans) {
      std::string piece = text.substr(pieceStart, at - pieceStart);
      bool label = statements && findUnquotedAfter(-1, piece, ":") != -1;
      std::string what = !statements ? "one declaration"
                         : label     ? "one label, so none of them is assembled"
                                     : "one instruction";
      // The quote that ran over the first line end: the last one opened on
      // the piece's first line.
      std::string firstLine = piece.substr(0, piece.find('\n'));
      std::size_t quote = firstLine.size();
      bool open = false;
      for (std::size_t k = 0; k < firstLine.size(); ++k) {
        if (firstLine[k] != '"') continue;
        open = !open;
        if (open) quote = k;
      }
      SourcePosition first = context.positionOf(static_cast<long>(pieceStart));
      SourcePosition last = context.positionOf(static_cast<long>(at));
      context.add(Severity::Warning, context.positionOf(static_cast<long>(pieceStart + quote)), 1,
                  "this double quote is not closed on its line, so tarnel and tarnel_perl read "
                  "lines " +
                      std::to_string(first.line) + " to " + std::to_string(last.line) + " as " +
                      what + "; close the text on this line");
    }
    pieceStart = at + 1;
    spans = false;
  }
}

}  // namespace

void checkStructure(CheckContext& context) {
  checkStop(context);
  checkOtherFrontEndErrors(context);
  const SourceAnalysis& analysis = context.assembler();
  checkKeywordPlace(context, analysis.object, "kiv", "kiv name {", false,
                    "reads the program's name");
  checkKeywordPlace(context, analysis.variables, "var", "var {", true, "reads the var block");
  checkKeywordPlace(context, analysis.code, "begin", "begin {", true, "reads the begin block");
  checkSemicolonsInQuotes(context);
  checkObjectName(context);
  checkTextOutsideBlocks(context);
  if (analysis.stop == SourceStop::None || analysis.stop == SourceStop::CodeKeyword ||
      analysis.stop == SourceStop::CodeBraces) {
    checkLinesJoinedByQuotes(context, analysis.variables, false);
  }
  if (analysis.stop == SourceStop::None) checkLinesJoinedByQuotes(context, analysis.code, true);
}
