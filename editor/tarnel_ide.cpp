// Reading a text file with the system's own error numbers, which the error
// box shows.
#include "tarnel_ide.h"

#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
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
    bytes->append(chunk, static_cast<qsizetype>(got));
  }
}

}  // namespace

FileText ReadTextFile(const QString& path, MessageBoxes& boxes) {
  QByteArray bytes;
  int error = 0;
  // Opened without blocking, so that a pipe without a writer cannot hang the
  // window; reading then blocks as usual.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = errno;
  } else {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    error = readAll(fd, &bytes);
    ::close(fd);
  }
  if (error != 0) {
    boxes.show(QMessageBox::Warning,
               QString::number(error) + QStringLiteral(" - ") + QCoreApplication::applicationName(),
               QString::fromLocal8Bit(std::strerror(error)));
    return FileText();
  }
  return decodeFileBytes(bytes);
}

}  // namespace TarnelIDE
