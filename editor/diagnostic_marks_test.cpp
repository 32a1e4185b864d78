// Where the checker's diagnostics land on the text area's lines: byte
// columns turned into characters in each encoding, ranges clamped to their
// line, the lines Save adds, and the real checker on a real program.
#include "diagnostic_marks.h"

#include <gtest/gtest.h>

#include "check_source.h"

namespace {

Diagnostic at(int line, int column, int length) {
  Diagnostic diagnostic;
  diagnostic.line = line;
  diagnostic.column = column;
  diagnostic.length = length;
  diagnostic.severity = Severity::Warning;
  diagnostic.message = "m";
  return diagnostic;
}

QString utf8(const char* text) { return QString::fromUtf8(text); }

// The form of a file the editor wrote: an empty line before the text.
FileForm saved(TextEncoding encoding) { return FileForm{encoding, true}; }

struct PlaceCase {
  const char* name;
  QStringList lines;
  TextEncoding encoding;
  int fileLine, column, length;
  int line, start, count;  // the mark expected
};

TEST(PlaceMarks, TurnsFileBytesIntoCharactersOfTheTextsLines) {
  const QStringList program{"kiv a {", "inc count", "", "jmp x}", ""};
  const QStringList umlauts{utf8("print \"gr\xC3\xBC\xC3\x9F\" x")};
  const QStringList emoji{
      utf8("a\xF0\x9F\x98\x80"
           "b")};
  const QStringList emojiLast{utf8("a\xF0\x9F\x98\x80")};
  const TextEncoding u = TextEncoding::Utf8;
  const PlaceCase cases[] = {
      {"a word", program, u, 3, 5, 5, 1, 4, 5},
      {"just past the line's end", program, u, 3, 10, 1, 1, 8, 1},
      {"a range longer than its line", program, u, 3, 9, 40, 1, 8, 1},
      {"no column and no length", program, u, 2, 0, 0, 0, 0, 1},
      {"the line Save adds before the text", program, u, 1, 1, 1, 0, 0, 1},
      {"the line Save adds after the text", program, u, 7, 1, 1, 3, 5, 1},
      {"far past the text", program, u, 90, 3, 2, 3, 5, 1},
      {"an empty line", program, u, 4, 1, 1, 1, 8, 1},
      {"the last, empty line", program, u, 6, 1, 3, 3, 5, 1},
      {"after two-byte characters", umlauts, u, 2, 16, 1, 0, 13, 1},
      {"over two-byte characters", umlauts, u, 2, 8, 6, 0, 7, 4},
      {"inside a two-byte character", umlauts, u, 2, 11, 1, 0, 9, 1},
      {"one byte each in Latin-1", umlauts, TextEncoding::Latin1, 2, 14, 1, 0, 13, 1},
      {"the byte order mark is on the line Save adds", umlauts, TextEncoding::Utf8WithBom, 2, 16, 1,
       0, 13, 1},
      {"after a surrogate pair", emoji, u, 2, 6, 1, 0, 3, 1},
      {"over a surrogate pair", emoji, u, 2, 2, 4, 0, 1, 2},
      {"past a line ending in a surrogate pair", emojiLast, u, 2, 6, 1, 0, 1, 2},
      {"an empty first line moves to the next", {"", "x"}, u, 2, 1, 1, 1, 0, 1},
  };
  for (const PlaceCase& c : cases) {
    const std::vector<TextMark> marks =
        placeMarks({at(c.fileLine, c.column, c.length)}, c.lines, saved(c.encoding));
    ASSERT_EQ(marks.size(), 1u) << c.name;
    EXPECT_EQ(marks[0].line, c.line) << c.name;
    EXPECT_EQ(marks[0].start, c.start) << c.name;
    EXPECT_EQ(marks[0].length, c.count) << c.name;
  }
}

TEST(PlaceMarks, TextWithoutACharacterGetsNoMark) {
  EXPECT_TRUE(placeMarks({at(1, 1, 1), at(2, 1, 1)}, {"", ""}, saved(TextEncoding::Utf8)).empty());
  EXPECT_TRUE(placeMarks({at(2, 1, 1)}, {}, saved(TextEncoding::Utf8)).empty());
}

// Every character's place agrees with the bytes QString::toUtf8 writes,
// the function Save encodes with, unpaired surrogates included.
TEST(PlaceMarks, AgreesWithTheSavedUtf8Bytes) {
  QString line = utf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  line += QChar(0xD800);
  line += QChar('z');
  line += QChar(0xDC00);
  line += utf8("\xC3\x9F\xE2\x80\xA8y");
  for (qsizetype i = 0; i < line.size(); ++i) {
    if (line[i].isLowSurrogate() && i > 0 && line[i - 1].isHighSurrogate()) continue;
    const qsizetype units =
        line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate() ? 2 : 1;
    const int column = static_cast<int>(line.left(i).toUtf8().size()) + 1;
    const int length = static_cast<int>(line.mid(i, units).toUtf8().size());
    const std::vector<TextMark> marks =
        placeMarks({at(2, column, length)}, {line}, saved(TextEncoding::Utf8));
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_EQ(marks[0].start, i) << "character " << i;
    EXPECT_EQ(marks[0].length, units) << "character " << i;
  }
}

TEST(BytesForChecking, AreTheBytesSaveWritesOrAQuestionMarkForEachRefusedCharacter) {
  const QString text = utf8("kiv a {\r\nprint \"\xC3\xA9\"\r}");
  for (TextEncoding encoding :
       {TextEncoding::Utf8, TextEncoding::Utf8WithBom, TextEncoding::Latin1}) {
    QByteArray written;
    QString reason;
    ASSERT_TRUE(encodeSavedFile(text, encoding, &written, &reason));
    EXPECT_EQ(bytesForChecking(text, saved(encoding)), written);
  }
  EXPECT_EQ(bytesForChecking(utf8("x\xE2\x82\xAC\xF0\x9F\x98\x80y\n"), saved(TextEncoding::Latin1)),
            QByteArray("\r\nx???y\r\n\r\n"));
  // A file without the empty first line is read without it, after the
  // byte order mark where there is one.
  EXPECT_EQ(bytesForChecking("kiv\nx", FileForm{TextEncoding::Utf8, false}),
            QByteArray("kiv\r\nx\r\n"));
  EXPECT_EQ(bytesForChecking("kiv", FileForm{TextEncoding::Utf8WithBom, false}),
            QByteArray("\xEF\xBB\xBFkiv\r\n"));
  EXPECT_EQ(linesOfText(text), (QStringList{"kiv a {", utf8("print \"\xC3\xA9\""), "}"}));
}

// The checker's bytes turned back into the editor's text give the text
// itself in every form, an empty first or last line included, so that a fix
// changes nothing but what it names.
TEST(EditorTextOfCheckedBytes, UndoesBytesForChecking) {
  const QString texts[] = {utf8("kiv a {\nprint \"\xC3\xA9\"\n}"), "\nkiv\n\n", "", "\n",
                           utf8("\xC3\xA9\n\t x  \n")};
  for (const QString& text : texts) {
    for (TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Utf8WithBom, TextEncoding::Latin1}) {
      for (bool leadingLine : {true, false}) {
        const FileForm form{encoding, leadingLine};
        EXPECT_EQ(editorTextOfCheckedBytes(bytesForChecking(text, form), form), text)
            << text.toStdString() << " " << static_cast<int>(encoding) << leadingLine;
      }
    }
  }
  EXPECT_TRUE(formHoldsText(utf8("\xC3\xA9"), saved(TextEncoding::Latin1)));
  EXPECT_FALSE(formHoldsText(utf8("\xE2\x82\xAC"), saved(TextEncoding::Latin1)));
  EXPECT_TRUE(formHoldsText(utf8("\xE2\x82\xAC"), saved(TextEncoding::Utf8)));
}

// With and without the empty first line the editor writes: the marks stand
// on the same characters, and the line numbers in the messages are the
// file's.
TEST(MarksForText, NumberLinesAsTheFileAndItsMessagesDo) {
  const QString text =
      "kiv pit {\nvar {\nvar& count := 2\nvar& count\n}\nbegin {\ninc count;note\n}\n}\n";
  for (bool leadingLine : {true, false}) {
    const FileForm form{TextEncoding::Utf8, leadingLine};
    const std::vector<TextMark> marks = marksForText(text, form);
    ASSERT_GE(marks.size(), 3u);
    // The second declaration, on the text's line 3, names the first one's
    // line as the file counts it; the note marks that line.
    EXPECT_EQ(marks[0].severity, Severity::Warning);
    EXPECT_EQ(marks[0].line, 3);
    EXPECT_EQ(marks[0].start, 5);
    EXPECT_EQ(marks[0].length, 5);
    const int firstDeclaration = 2;
    EXPECT_TRUE(marks[0].toolTip.startsWith(
        QStringLiteral("warning: \"count\" is already declared on line %1:")
            .arg(firstDeclaration + form.firstLineNumber())))
        << marks[0].toolTip.toStdString();
    EXPECT_EQ(marks[1].severity, Severity::Note);
    EXPECT_EQ(marks[1].line, firstDeclaration);

    bool cut = false;
    for (const TextMark& mark : marks) {
      if (mark.line == 6 && mark.toolTip.contains("tarnel reads \"inc coun\"")) {
        cut = mark.start == 8 && mark.length == 1;
      }
    }
    EXPECT_TRUE(cut) << leadingLine;
  }
}

}  // namespace
