// Placing the checker's diagnostics on the text area's lines.
#include "diagnostic_marks.h"

#include <algorithm>
#include <limits>

#include "check_source.h"

namespace {

// The bytes one character of a line takes in the saved file. A surrogate
// without its partner is written as "?", as QString::toUtf8 writes it.
int bytesOfCodePoint(const QString& line, qsizetype at, TextEncoding encoding, int* units) {
  const QChar c = line[at];
  *units = 1;
  if (encoding == TextEncoding::Latin1) return 1;
  if (c.isHighSurrogate() && at + 1 < line.size() && line[at + 1].isLowSurrogate()) {
    *units = 2;
    return 4;
  }
  if (c.isSurrogate() || c.unicode() < 0x80) return 1;
  return c.unicode() < 0x800 ? 2 : 3;
}

// The characters of a line that a range of its bytes covers: from the
// character that holds byte `first` up to the end of the one that holds
// byte `first + count - 1`, both from 0. Clamped to the line, at least one
// character; the line must not be empty.
struct CharacterRange {
  int start;
  int length;
};

CharacterRange charactersOfBytes(const QString& line, long first, long count,
                                 TextEncoding encoding) {
  const long last = first + (count < 1 ? 1 : count) - 1;
  qsizetype start = -1;
  qsizetype end = line.size();
  long byte = 0;
  for (qsizetype at = 0; at < line.size();) {
    int units = 1;
    const long next = byte + bytesOfCodePoint(line, at, encoding, &units);
    if (start < 0 && first < next) start = at;
    if (last < next) {
      end = at + units;
      break;
    }
    byte = next;
    at += units;
  }
  // A range that begins at or past the line's end marks its last character.
  if (start < 0) {
    start = line.size() - 1;
    if (start > 0 && line[start].isLowSurrogate() && line[start - 1].isHighSurrogate()) --start;
  }
  if (end <= start) {
    const bool pair = line[start].isHighSurrogate() && start + 1 < line.size() &&
                      line[start + 1].isLowSurrogate();
    end = start + (pair ? 2 : 1);
  }
  return {static_cast<int>(start), static_cast<int>(end - start)};
}

bool holdsText(const QStringList& lines, qsizetype line) { return !lines[line].isEmpty(); }

// Places one range given in the saved file's lines and bytes; false when
// the text has no character to carry it.
bool place(int fileLine, int column, int length, const QStringList& lines, const FileForm& form,
           TextMark* mark) {
  if (lines.isEmpty()) return false;
  const TextEncoding encoding = form.encoding;
  const qsizetype lastLine = lines.size() - 1;
  qsizetype line = fileLine - form.firstLineNumber();
  long first = column - 1L;
  if (line < 0) {
    line = 0;
    first = 0;
  } else if (line > lastLine) {
    line = lastLine;
    first = std::numeric_limits<long>::max() / 2;  // the line's last character
  }
  if (first < 0) first = 0;
  if (!holdsText(lines, line)) {
    qsizetype before = line;
    while (before >= 0 && !holdsText(lines, before)) --before;
    if (before >= 0) {
      line = before;
      first = std::numeric_limits<long>::max() / 2;
    } else {
      qsizetype after = line;
      while (after <= lastLine && !holdsText(lines, after)) ++after;
      if (after > lastLine) return false;
      line = after;
      first = 0;
    }
    length = 1;
  }
  const CharacterRange range = charactersOfBytes(lines[line], first, length, encoding);
  mark->line = static_cast<int>(line);
  mark->start = range.start;
  mark->length = range.length;
  return true;
}

QString kindWord(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return QStringLiteral("error");
    case Severity::Warning:
      return QStringLiteral("warning");
    case Severity::Note:
      break;
  }
  return QStringLiteral("note");
}

}  // namespace

QByteArray bytesForChecking(const QString& editorText, const FileForm& form) {
  QByteArray bytes;
  QString reason;
  if (!encodeSavedFile(editorText, form.encoding, &bytes, &reason)) {
    QString held = editorText;
    for (QChar& c : held) {
      if (c.unicode() > 0xFF) c = QChar('?');
    }
    encodeSavedFile(held, form.encoding, &bytes, &reason);
  }
  if (!form.leadingLine) {
    // The CR LF Save writes first, after the byte order mark if any.
    bytes.remove(form.encoding == TextEncoding::Utf8WithBom ? 3 : 0, 2);
  }
  return bytes;
}

QString editorTextOfCheckedBytes(const QByteArray& bytes, const FileForm& form) {
  QByteArray file = bytes;
  const bool bom = form.encoding == TextEncoding::Utf8WithBom;
  if (bom) file.remove(0, 3);
  // The leading CR LF that bytesForChecking took off, so that
  // textForEditor takes off that one and not the text's own empty line.
  if (!form.leadingLine) file.prepend("\r\n");
  const QString text =
      form.encoding == TextEncoding::Latin1 ? QString::fromLatin1(file) : QString::fromUtf8(file);
  return textForEditor(text);
}

bool formHoldsText(const QString& editorText, const FileForm& form) {
  if (form.encoding != TextEncoding::Latin1) return true;
  return std::all_of(editorText.cbegin(), editorText.cend(),
                     [](QChar c) { return c.unicode() <= 0xFF; });
}

QStringList linesOfText(const QString& editorText) {
  QString text = editorText;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  return text.split(QChar('\n'));
}

std::vector<TextMark> placeMarks(const std::vector<Diagnostic>& diagnostics,
                                 const QStringList& lines, const FileForm& form) {
  std::vector<TextMark> marks;
  for (const Diagnostic& diagnostic : diagnostics) {
    TextMark mark;
    mark.severity = diagnostic.severity;
    mark.toolTip = kindWord(diagnostic.severity) + QStringLiteral(": ") +
                   QString::fromStdString(diagnostic.message);
    mark.fixes = diagnostic.fixes;
    if (place(diagnostic.line, diagnostic.column, diagnostic.length, lines, form, &mark)) {
      marks.push_back(mark);
    }
    for (const DiagnosticNote& note : diagnostic.notes) {
      TextMark noteMark;
      noteMark.severity = Severity::Note;
      noteMark.isProblem = false;
      noteMark.toolTip = QStringLiteral("note: ") + QString::fromStdString(note.message);
      if (place(note.line, note.column, note.length, lines, form, &noteMark)) {
        marks.push_back(noteMark);
      }
    }
  }
  return marks;
}

CheckedText checkText(const QString& editorText, const FileForm& form) {
  // Only one copy of the bytes lives while the checker runs: a long text's
  // check takes memory enough by itself.
  std::string source;
  {
    const QByteArray bytes = bytesForChecking(editorText, form);
    source.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }
  std::vector<Diagnostic> diagnostics = checkSource(source);
  std::string().swap(source);
  CheckedText checked;
  checked.counts = countProblems(diagnostics);
  checked.marks = placeMarks(diagnostics, linesOfText(editorText), form);
  return checked;
}

std::vector<TextMark> marksForText(const QString& editorText, const FileForm& form) {
  return checkText(editorText, form).marks;
}

ProblemCounts countProblems(const std::vector<Diagnostic>& diagnostics) {
  ProblemCounts counts;
  for (const Diagnostic& diagnostic : diagnostics) {
    switch (diagnostic.severity) {
      case Severity::Error:
        ++counts.errors;
        break;
      case Severity::Warning:
        ++counts.warnings;
        break;
      case Severity::Note:
        ++counts.notes;
        break;
    }
  }
  return counts;
}

QString problemCountsText(const ProblemCounts& counts) {
  QStringList parts;
  const auto add = [&parts](int count, const char* one, const char* many) {
    if (count > 0)
      parts << QString::number(count) + QChar(' ') + QLatin1String(count == 1 ? one : many);
  };
  add(counts.errors, "error", "errors");
  add(counts.warnings, "warning", "warnings");
  add(counts.notes, "note", "notes");
  return parts.isEmpty() ? QStringLiteral("no problems") : parts.join(QStringLiteral(", "));
}

QColor markColor(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return QColor(0xE0, 0x00, 0x00);
    case Severity::Warning:
      return QColor(0xF0, 0xA0, 0x00);
    case Severity::Note:
      break;
  }
  return QColor(0x00, 0x60, 0xF0);
}
