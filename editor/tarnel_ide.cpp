// Reading a text file with the system's own reasons for a failure.
#include "tarnel_ide.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstring>

namespace TarnelIDE {

namespace {

// Reads until the end of the file rather than trusting its reported size,
// which may change while it is read. Returns 0 or the errno of the failure.
int readAll(int fd, QByteArray* bytes) {
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got == 0) return 0;
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (bytes->size() + got >= kLargestFile) return EFBIG;
    bytes->append(chunk, static_cast<qsizetype>(got));
  }
}

QString reasonInWords(int error) {
  if (error == EFBIG) return QStringLiteral("The file is too large (256 MiB or more).");
  return QString::fromLocal8Bit(std::strerror(error)) + QChar('.');
}

}  // namespace

int readFileBytes(const QString& path, QByteArray* bytes) {
  bytes->clear();
  // Opened without blocking, so that a pipe without a writer cannot hang the
  // window; reading then blocks as usual.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno;
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  const int error = readAll(fd, bytes);
  ::close(fd);
  if (error != 0) bytes->clear();
  return error;
}

QString cannotOpenText(const QString& path, int error) {
  return QStringLiteral("Cannot open %1:\n%2").arg(path, reasonInWords(error));
}

QString cannotSaveText(const QString& path, int error) {
  QString text = QStringLiteral("Cannot save %1:\n%2").arg(path, reasonInWords(error));
  if (error == EACCES || error == EPERM || error == EROFS) {
    text += QStringLiteral(
        "\n\nThe file or its folder is read-only. Use Save As to save the text "
        "under another name or in another folder.");
  }
  return text;
}

std::optional<FileText> ReadTextFile(const QString& path, MessageBoxes& boxes) {
  QByteArray bytes;
  const int error = readFileBytes(path, &bytes);
  if (error != 0) {
    boxes.show(QMessageBox::Warning, QCoreApplication::applicationName(),
               cannotOpenText(path, error));
    return std::nullopt;
  }
  return decodeFileBytes(bytes);
}

}  // namespace TarnelIDE
