// Starting a tool in a terminal window.
#include "tool_launcher.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <cerrno>
#include <cstring>

LaunchResult QProcessLauncher::startDetached(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  LaunchResult result;
  result.started = process.startDetached();
  if (!result.started) result.reason = process.errorString();
  return result;
}

namespace {

QString cannotStart(const QString& program, const QString& reason) {
  return QStringLiteral("Cannot start %1: %2").arg(program, reason);
}

}  // namespace

QString startToolInTerminal(ProgramLauncher& launcher, const QString& tool, const QString& file) {
  if (access(QFile::encodeName(tool).constData(), X_OK) != 0) {
    return cannotStart(tool, QString::fromLocal8Bit(std::strerror(errno)));
  }
  if (QFileInfo(tool).isDir())
    return cannotStart(tool, QString::fromLocal8Bit(std::strerror(EISDIR)));
  const QStringList arguments{QStringLiteral("-e"), tool, file};
  QStringList failures;
  for (const QString& terminal : {QStringLiteral("x-terminal-emulator"), QStringLiteral("xterm")}) {
    const LaunchResult result = launcher.startDetached(terminal, arguments);
    if (result.started) return QString();
    failures << cannotStart(terminal, result.reason);
  }
  return failures.join(QChar('\n'));
}
