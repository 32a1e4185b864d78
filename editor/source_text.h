// The bytes of a source file and the text the editor shows for them: how a
// file is decoded, how its line ends are shown, and the exact bytes Save
// writes, so that opening and saving an unchanged file keeps every byte.
#pragma once

#include <QByteArray>
#include <QString>

// The encoding a file was read in, and so the one it is saved in.
enum class TextEncoding {
  Utf8,         // valid UTF-8 without a byte order mark; also every new document
  Utf8WithBom,  // valid UTF-8 that starts with the byte order mark EF BB BF
  Latin1,       // anything else: one character per byte
};

struct FileText {
  QString text;  // every character of the file, line ends included
  TextEncoding encoding = TextEncoding::Utf8;
};

// How the editor's text stands in its file, and so which numbers its lines
// carry there: the encoding, and whether the file begins with the empty
// line that Save writes before the text and Open takes off. A file the
// editor wrote has it; a file written elsewhere often has not, and then the
// text's first line is the file's line 1. A text not yet saved is numbered
// as Save will write it.
struct FileForm {
  TextEncoding encoding = TextEncoding::Utf8;
  bool leadingLine = true;
  int firstLineNumber() const { return leadingLine ? 2 : 1; }
  bool operator==(const FileForm& other) const {
    return encoding == other.encoding && leadingLine == other.leadingLine;
  }
  bool operator!=(const FileForm& other) const { return !(*this == other); }
};

// Decodes as UTF-8 when bytes are valid UTF-8 (a leading byte order mark is
// taken off and remembered in the encoding), otherwise as Latin-1.
FileText decodeFileBytes(const QByteArray& bytes);

// What Open shows for a file's text: one leading and one trailing CR LF
// removed (the two Save adds), then every CR LF shown as a single LF.
QString textForEditor(QString fileText);

// Whether fileText begins with the CR LF that textForEditor takes off.
bool hasLeadingLine(const QString& fileText);

// The bytes Save writes for the editor's text: CR LF, the text with every
// line end (LF, CR LF or a lone CR) written as CR LF, then a closing CR LF,
// in the given encoding. False, with the reason in *error, when the text
// holds a character that Latin-1 cannot represent; *bytes is then untouched.
bool encodeSavedFile(const QString& editorText, TextEncoding encoding, QByteArray* bytes,
                     QString* error);
