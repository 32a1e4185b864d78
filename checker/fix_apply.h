// Making fix-its: the one place where edits are applied to a text, for
// tarnel_check --fix and --diff, an editor's quick fixes and "fix all", and
// any other program that embeds the checker, so that they cannot disagree.
//
// Every byte that no edit names stays as it is, line ends included (CR LF,
// LF, or both mixed in one text), and bytes after a NUL byte too.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "diagnostic.h"

struct FixApplication {
  std::string text;                  // the text with the fixes made
  std::vector<std::size_t> applied;  // indices into the fixes given, in order
  // Fixes left out: one of their edits overlaps an edit of a fix taken
  // before it, or names a place the text does not have (a fix computed for
  // another text). A fix is made whole or not at all.
  std::vector<std::size_t> skipped;
};

// Makes fixes on text, taking them in the order given. Edits overlap when
// their byte ranges share a byte, when an insertion falls strictly inside
// another edit's range, or when two insertions stand at the same place
// (their order would be a guess). A fix left out because it overlaps may
// still be right once the others are made: check the result again and
// make what is still offered (fixSafely does so).
FixApplication applyFixes(const std::string& text, const std::vector<FixIt>& fixes);

// A fix made by fixSafely: its description and where its diagnostic stood:
// the line of the text first given (a line that the fixes of an earlier
// round broke counts as the line it came from), the column of that line as
// it read when the fix was made.
struct AppliedFix {
  int line = 0;
  int column = 0;
  std::string description;
};

struct SafeFixes {
  std::string text;                 // the text with every safe fix made
  std::vector<AppliedFix> applied;  // by line
  // checkSource of text: what is left to report.
  std::vector<Diagnostic> remaining;
  // For each line of text, the line of the text first given that it stems
  // from (fixes change and break lines, never remove one).
  std::vector<int> lineOrigins;
};

// At most this many rounds of checking and fixing: a fix whose result
// reveals another is made in the next round, and a text whose fixes would
// undo each other still ends.
constexpr int kMaxFixRounds = 8;

// Makes every safe fix checkSource offers for text, round after round:
// checks, makes the first safe fix of each diagnostic (those that do not
// overlap), and checks the result again, until no safe fix is left or
// kMaxFixRounds rounds have run. The diagnostics of the last check come
// back with the text, so a caller need not check it again.
SafeFixes fixSafely(const std::string& text);
