// Applying fix-its; see fix_apply.h.
#include "fix_apply.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

#include "check_source.h"

namespace {

// Where each line of a text stands: its first byte, the end of its content
// (before a CR LF or LF; a CR just before the text's end counts as a line
// end too, as the checker reads it) and the line end that follows.
struct LineLayout {
  std::size_t start = 0;
  std::size_t contentEnd = 0;
  std::size_t end = 0;  // just after the line end: contentEnd when there is none
};

// The line end of line as written: "\r\n", "\n" or empty for a last line
// without one (a CR alone at the text's end counts as none).
std::string endingOf(const std::string& text, const LineLayout& line) {
  std::string ending = text.substr(line.contentEnd, line.end - line.contentEnd);
  return ending == "\r" ? std::string() : ending;
}

std::vector<LineLayout> layoutOf(const std::string& text) {
  std::vector<LineLayout> lines;
  std::size_t start = 0;
  for (;;) {
    std::size_t feed = text.find('\n', start);
    LineLayout line;
    line.start = start;
    std::size_t end = feed == std::string::npos ? text.size() : feed;
    line.contentEnd = end;
    if (end > start && text[end - 1] == '\r') --line.contentEnd;
    line.end = feed == std::string::npos ? end : feed + 1;
    lines.push_back(line);
    if (feed == std::string::npos) break;
    start = feed + 1;
  }
  return lines;
}

// The line end a "\n" of a replacement becomes on a line without one of
// its own: the text's first, or LF in a text of one line.
std::string defaultEnding(const std::string& text, const std::vector<LineLayout>& lines) {
  for (const LineLayout& line : lines) {
    std::string ending = endingOf(text, line);
    if (!ending.empty()) return ending;
  }
  return "\n";
}

struct ByteEdit {
  std::size_t begin = 0;
  std::size_t end = 0;  // just after the last byte replaced
  std::string replacement;
};

bool toByteEdit(const std::string& text, const FixEdit& edit, const std::vector<LineLayout>& lines,
                const std::string& fallbackEnding, ByteEdit& out) {
  if (edit.line < 1 || edit.line > static_cast<int>(lines.size()) || edit.column < 1 ||
      edit.length < 0) {
    return false;
  }
  const LineLayout& line = lines[static_cast<std::size_t>(edit.line - 1)];
  std::size_t width = line.contentEnd - line.start;
  std::size_t first = static_cast<std::size_t>(edit.column - 1);
  if (first > width || static_cast<std::size_t>(edit.length) > width - first) return false;
  out.begin = line.start + first;
  out.end = out.begin + static_cast<std::size_t>(edit.length);
  std::string ending = endingOf(text, line);
  if (ending.empty()) ending = fallbackEnding;
  out.replacement.clear();
  for (char c : edit.replacement) {
    if (c == '\n') {
      out.replacement += ending;
    } else {
      out.replacement += c;
    }
  }
  return true;
}

bool overlap(const ByteEdit& a, const ByteEdit& b) {
  if (a.begin == a.end && b.begin == b.end) return a.begin == b.begin;
  if (a.begin == a.end) return b.begin < a.begin && a.begin < b.end;
  if (b.begin == b.end) return a.begin < b.begin && b.begin < a.end;
  return a.begin < b.end && b.begin < a.end;
}

int lineBreaksIn(const std::string& replacement) {
  return static_cast<int>(std::count(replacement.begin(), replacement.end(), '\n'));
}

}  // namespace

FixApplication applyFixes(const std::string& text, const std::vector<FixIt>& fixes) {
  FixApplication result;
  std::vector<LineLayout> lines = layoutOf(text);
  std::string fallbackEnding = defaultEnding(text, lines);
  // The edits taken so far, which never overlap, in the order of their
  // places: a new edit need only be held against its neighbours. An
  // insertion sorts before a replacement that begins at its place, so it
  // goes in front of the bytes replaced.
  auto before = [](const ByteEdit& a, const ByteEdit& b) {
    return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
  };
  std::multiset<ByteEdit, decltype(before)> taken(before);
  auto overlapsTaken = [&](const ByteEdit& edit) {
    auto next = taken.lower_bound(ByteEdit{edit.begin, edit.begin, std::string()});
    if (next != taken.begin() && overlap(edit, *std::prev(next))) return true;
    for (; next != taken.end() && next->begin <= edit.end; ++next) {
      if (overlap(edit, *next)) return true;
    }
    return false;
  };
  for (std::size_t index = 0; index < fixes.size(); ++index) {
    std::vector<ByteEdit> edits;
    bool usable = !fixes[index].edits.empty();
    for (const FixEdit& edit : fixes[index].edits) {
      ByteEdit byteEdit;
      if (!toByteEdit(text, edit, lines, fallbackEnding, byteEdit)) {
        usable = false;
        break;
      }
      for (const ByteEdit& other : edits) usable = usable && !overlap(byteEdit, other);
      usable = usable && !overlapsTaken(byteEdit);
      if (!usable) break;
      edits.push_back(std::move(byteEdit));
    }
    if (!usable) {
      result.skipped.push_back(index);
      continue;
    }
    result.applied.push_back(index);
    for (ByteEdit& edit : edits) taken.insert(std::move(edit));
  }
  std::size_t copied = 0;
  result.text.reserve(text.size());
  for (const ByteEdit& edit : taken) {
    result.text.append(text, copied, edit.begin - copied);
    result.text += edit.replacement;
    copied = edit.end;
  }
  result.text.append(text, copied, std::string::npos);
  return result;
}

SafeFixes fixSafely(const std::string& text) {
  SafeFixes result;
  result.text = text;
  result.remaining = checkSource(text);
  std::vector<int>& origin = result.lineOrigins;
  int lineCount = static_cast<int>(layoutOf(text).size());
  for (int line = 1; line <= lineCount; ++line) origin.push_back(line);

  for (int round = 0; round < kMaxFixRounds; ++round) {
    std::vector<FixIt> fixes;
    std::vector<const Diagnostic*> fixed;
    for (const Diagnostic& diagnostic : result.remaining) {
      for (const FixIt& fix : diagnostic.fixes) {
        if (!fix.safe) continue;
        fixes.push_back(fix);
        fixed.push_back(&diagnostic);
        break;
      }
    }
    if (fixes.empty()) break;
    FixApplication made = applyFixes(result.text, fixes);
    if (made.applied.empty() || made.text == result.text) break;

    std::vector<int> added(origin.size(), 0);
    for (std::size_t index : made.applied) {
      const Diagnostic& diagnostic = *fixed[index];
      int line = diagnostic.line >= 1 && diagnostic.line <= static_cast<int>(origin.size())
                     ? origin[static_cast<std::size_t>(diagnostic.line - 1)]
                     : diagnostic.line;
      result.applied.push_back(AppliedFix{line, diagnostic.column, fixes[index].description});
      for (const FixEdit& edit : fixes[index].edits) {
        added[static_cast<std::size_t>(edit.line - 1)] += lineBreaksIn(edit.replacement);
      }
    }
    std::vector<int> next;
    for (std::size_t line = 0; line < origin.size(); ++line) {
      next.insert(next.end(), static_cast<std::size_t>(added[line]) + 1, origin[line]);
    }
    origin.swap(next);
    result.text = std::move(made.text);
    result.remaining = checkSource(result.text);
  }
  std::stable_sort(result.applied.begin(), result.applied.end(),
                   [](const AppliedFix& a, const AppliedFix& b) { return a.line < b.line; });
  return result;
}
