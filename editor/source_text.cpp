// Decoding, line-end conversion and encoding of source files.
#include "source_text.h"

#include <QStringDecoder>
#include <utility>

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");
const QString kCrLf = QStringLiteral("\r\n");

}  // namespace

FileText decodeFileBytes(const QByteArray& bytes) {
  FileText result;
  const bool hasBom = bytes.startsWith(kByteOrderMark);
  const QByteArray body = hasBom ? bytes.mid(kByteOrderMark.size()) : bytes;
  // ConvertInitialBom keeps a second mark after the first as a character, so
  // that it is written back as it was.
  QStringDecoder decoder(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  QString text = decoder.decode(body);
  if (!decoder.hasError()) {
    result.text = text;
    result.encoding = hasBom ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
    return result;
  }
  result.text = QString::fromLatin1(bytes);
  result.encoding = TextEncoding::Latin1;
  return result;
}

QString textForEditor(QString fileText) {
  QString text = std::move(fileText);
  if (text.startsWith(kCrLf)) text.remove(0, kCrLf.size());
  if (text.endsWith(kCrLf)) text.chop(kCrLf.size());
  text.replace(kCrLf, QStringLiteral("\n"));
  return text;
}

bool hasLeadingLine(const QString& fileText) { return fileText.startsWith(kCrLf); }

bool encodeSavedFile(const QString& editorText, TextEncoding encoding, QByteArray* bytes,
                     QString* error) {
  QString text = editorText;
  text.replace(kCrLf, QStringLiteral("\n"));
  text.replace(QChar('\r'), QChar('\n'));
  text.replace(QChar('\n'), kCrLf);
  text = kCrLf + text + kCrLf;

  switch (encoding) {
    case TextEncoding::Utf8:
      *bytes = text.toUtf8();
      return true;
    case TextEncoding::Utf8WithBom:
      *bytes = kByteOrderMark + text.toUtf8();
      return true;
    case TextEncoding::Latin1:
      for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() > 0xFF) {
          const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
          *error = QStringLiteral(
                       "The text holds the character %1, which this file's encoding "
                       "(Latin-1) cannot store.")
                       .arg(text.mid(i, pair ? 2 : 1));
          return false;
        }
      }
      *bytes = text.toLatin1();
      return true;
  }
  return false;
}
