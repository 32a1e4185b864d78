// The checker's diagnostics as marks on the lines of the text area.
//
// The checker reads the bytes of the text's file as it stands on the disk
// (see FileForm): in a file that Save wrote, a CR LF before the text is
// line 1, so the text area's first line is the file's line 2; in a file
// written elsewhere without that line it is line 1. A mark names a line of
// the text area (from 0, as its blocks count) and a range of its characters
// (UTF-16 code units, as QString and QTextCursor count), so that every
// message, and every line number a message names, reads as tarnel_check
// prints it for the file.
#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <vector>

#include "diagnostic.h"
#include "source_text.h"

struct TextMark {
  int line = 0;    // the text area's line, from 0
  int start = 0;   // the first character, from 0
  int length = 1;  // characters, at least one
  Severity severity = Severity::Error;
  // The text shown when the mouse rests on the mark, such as
  // "error: the block has no closing ..." or "note: the first declaration".
  QString toolTip;
  // A problem's own place, which F8 goes to; false for a place that one of
  // its notes names.
  bool isProblem = true;
  // The problem's repairs, in the lines and bytes of the text that was
  // checked: they fit the text only while it stays as it was.
  std::vector<FixIt> fixes;
};

// How many problems of each kind a check found.
struct ProblemCounts {
  int errors = 0;
  int warnings = 0;
  int notes = 0;
  bool operator==(const ProblemCounts& other) const {
    return errors == other.errors && warnings == other.warnings && notes == other.notes;
  }
};

ProblemCounts countProblems(const std::vector<Diagnostic>& diagnostics);

// The counts as the status bar shows them: "2 errors, 1 warning", the
// kinds found only ("1 note"), or "no problems".
QString problemCountsText(const ProblemCounts& counts);

// What a check of the editor's text found: the marks and the counts, which
// also count the problems that no character of the text can carry.
struct CheckedText {
  std::vector<TextMark> marks;
  ProblemCounts counts;
};

// The bytes the checker reads for editorText: those Save writes in the
// form's encoding, without the leading empty line when the form has none.
// A text that Latin-1 cannot hold, which Save refuses, is read with a "?"
// for each such character, so that every other mark still stands at its
// place.
QByteArray bytesForChecking(const QString& editorText, const FileForm& form);

// The editor's text for bytes of that kind: bytesForChecking undone, so
// that a text the checker's fixes changed goes back into the text area.
QString editorTextOfCheckedBytes(const QByteArray& bytes, const FileForm& form);

// Whether the form's encoding holds every character of editorText, so that
// bytesForChecking gives the text itself and no "?" stands in for one.
bool formHoldsText(const QString& editorText, const FileForm& form);

// The editor's text split into its lines as Save writes them (a lone CR
// ends a line too), without the line ends.
QStringList linesOfText(const QString& editorText);

// Places each diagnostic, then each of its notes, on lines (the text's
// lines as linesOfText gives them) read in the form's encoding, the first
// of them numbered as the form says. A diagnostic on the empty first or
// last line that Save adds, or past the text's end, stands
// on the nearest line of the text; a range is clamped to its line and
// covers at least one character, so one at or past a line's end marks the
// line's last character; a place on an empty line moves to the end of the
// nearest line before it that holds text (the start of the next when none
// does). A text without any character gets no mark.
std::vector<TextMark> placeMarks(const std::vector<Diagnostic>& diagnostics,
                                 const QStringList& lines, const FileForm& form);

// Checks editorText as it stands in a file of the given form and places
// what was found. Touches nothing else; safe on any thread.
CheckedText checkText(const QString& editorText, const FileForm& form);
std::vector<TextMark> marksForText(const QString& editorText, const FileForm& form);

// The colour of a severity's wavy underline: red, amber, blue.
QColor markColor(Severity severity);
