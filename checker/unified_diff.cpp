// Unified diffs of fixed texts; see unified_diff.h.
#include "unified_diff.h"

#include <algorithm>

namespace {

constexpr std::size_t kContext = 3;

// The lines of text, each with its line feed; the last piece (empty when
// the text ends in a line feed) is kept, so that line n of the text is
// element n - 1 as the fixes count lines.
std::vector<std::string> piecesOf(const std::string& text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t feed = text.find('\n'); feed != std::string::npos;
       feed = text.find('\n', start)) {
    pieces.push_back(text.substr(start, feed + 1 - start));
    start = feed + 1;
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

void writeLine(std::string& out, char mark, const std::string& line) {
  if (line.empty()) return;  // the empty piece after a last line feed is no line
  out += mark;
  out += line;
  if (line.back() != '\n') out += "\n\\ No newline at end of file\n";
}

std::string range(std::size_t start, std::size_t count) {
  // An empty side names the line before it, as diff does.
  return std::to_string(count == 0 ? start - 1 : start) + "," + std::to_string(count);
}

}  // namespace

std::string unifiedDiff(const std::string& path, const std::string& before,
                        const std::string& after, const std::vector<int>& origins) {
  std::vector<std::string> old = piecesOf(before);
  std::vector<std::string> fresh = piecesOf(after);
  if (origins.size() != fresh.size() || before == after) return std::string();
  // The lines of after that stem from each line of before.
  std::vector<std::size_t> first(old.size() + 1, fresh.size());
  std::vector<std::size_t> count(old.size(), 0);
  for (std::size_t i = fresh.size(); i-- > 0;) {
    std::size_t from = static_cast<std::size_t>(origins[i] - 1);
    if (from >= old.size()) return std::string();
    first[from] = i;
    ++count[from];
  }
  std::vector<bool> changed(old.size());
  for (std::size_t line = 0; line < old.size(); ++line) {
    changed[line] = count[line] != 1 || fresh[first[line]] != old[line];
  }
  auto countsAsLine = [](const std::string& piece) { return !piece.empty(); };

  std::string out = "--- " + path + "\n+++ " + path + "\n";
  std::size_t line = 0;
  while (line < old.size()) {
    if (!changed[line]) {
      ++line;
      continue;
    }
    // A hunk from kContext lines before the change to kContext lines after
    // the last change that follows within twice that.
    std::size_t begin = line > kContext ? line - kContext : 0;
    std::size_t end = line;
    for (std::size_t next = line; next < old.size() && next <= end + 2 * kContext; ++next) {
      if (changed[next]) end = next;
    }
    end = std::min(old.size(), end + kContext + 1);
    std::size_t oldCount = 0;
    std::size_t newCount = 0;
    std::string body;
    for (std::size_t at = begin; at < end; ++at) {
      if (countsAsLine(old[at])) ++oldCount;
      for (std::size_t k = 0; k < count[at]; ++k) {
        if (countsAsLine(fresh[first[at] + k])) ++newCount;
      }
      // A run of changed lines: first all they were, then all they become.
      if (changed[at] && (at == begin || !changed[at - 1])) {
        std::size_t stop = at;
        while (stop < end && changed[stop]) ++stop;
        for (std::size_t k = at; k < stop; ++k) writeLine(body, '-', old[k]);
        for (std::size_t k = at; k < stop; ++k) {
          for (std::size_t n = 0; n < count[k]; ++n) writeLine(body, '+', fresh[first[k] + n]);
        }
      }
      if (!changed[at]) writeLine(body, ' ', old[at]);
    }
    std::size_t newStart = first[begin] + 1;
    out += "@@ -" + range(begin + 1, oldCount) + " +" + range(newStart, newCount) + " @@\n";
    out += body;
    line = end;
  }
  return out;
}
