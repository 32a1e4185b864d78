#include "source_text.h"

#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(const char* text) { return QByteArray(text); }

TEST(SourceText, DecodesValidUtf8AndFallsBackToLatin1) {
  struct Case {
    QByteArray bytes;
    TextEncoding encoding;
    QString text;
  };
  const Case cases[] = {
      {bytesOf(""), TextEncoding::Utf8, QString()},
      {bytesOf("print \"gr\xC3\xBC\xC3\x9F\"\r\n"), TextEncoding::Utf8,
       QString::fromUtf8("print \"gr\xC3\xBC\xC3\x9F\"\r\n")},
      {bytesOf("\xEF\xBB\xBFkiv"), TextEncoding::Utf8WithBom, QStringLiteral("kiv")},
      {bytesOf("caf\xE9"), TextEncoding::Latin1, QString::fromLatin1("caf\xE9")},
      {bytesOf("cut \xE2\x82"), TextEncoding::Latin1, QString::fromLatin1("cut \xE2\x82")},
      {bytesOf("\xC0\x80"), TextEncoding::Latin1, QString::fromLatin1("\xC0\x80")},
      {QByteArray("a\0b", 3), TextEncoding::Utf8, QString::fromLatin1("a\0b", 3)},
  };
  for (const Case& c : cases) {
    const FileText got = decodeFileBytes(c.bytes);
    EXPECT_EQ(got.encoding, c.encoding) << c.bytes.toHex().constData();
    EXPECT_EQ(got.text, c.text) << c.bytes.toHex().constData();
  }
}

TEST(SourceText, EditorTextLosesOneFramingLineEndAtEachEnd) {
  struct Case {
    QString file;
    QString shown;
  };
  const Case cases[] = {
      {QStringLiteral("\r\nkiv\r\n\r\n"), QStringLiteral("kiv\n")},
      {QStringLiteral("\r\n\r\nkiv\r\n\r\n"), QStringLiteral("\nkiv\n")},
      {QStringLiteral("kiv"), QStringLiteral("kiv")},
      {QStringLiteral("\r\n"), QString()},
      {QStringLiteral("\r\n\r\n"), QString()},
      {QStringLiteral("a\nb\r\nc"), QStringLiteral("a\nb\nc")},
  };
  for (const Case& c : cases) EXPECT_EQ(textForEditor(c.file), c.shown) << qPrintable(c.file);
}

TEST(SourceText, SavedBytesFrameTheTextWithCrLf) {
  struct Case {
    QString text;
    QByteArray bytes;
  };
  const Case cases[] = {
      {QString(), bytesOf("\r\n\r\n")},
      {QStringLiteral("kiv"), bytesOf("\r\nkiv\r\n")},
      {QStringLiteral("a\nb\n"), bytesOf("\r\na\r\nb\r\n\r\n")},
      {QStringLiteral("a\r\nb\rc"), bytesOf("\r\na\r\nb\r\nc\r\n")},
  };
  for (const Case& c : cases) {
    QByteArray bytes;
    QString error;
    ASSERT_TRUE(encodeSavedFile(c.text, TextEncoding::Utf8, &bytes, &error));
    EXPECT_EQ(bytes, c.bytes) << qPrintable(c.text);
  }
}

}  // namespace
