// Starting a tool in a terminal window.
#include "tool_launcher.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <cerrno>
#include <cstring>

LaunchResult QProcessLauncher::startDetached(const Launch& launch) {
  QProcess process;
  process.setProgram(launch.program);
  process.setArguments(launch.arguments);
  if (!launch.workingDirectory.isEmpty()) process.setWorkingDirectory(launch.workingDirectory);
  if (!launch.searchPathFirst.isEmpty()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString path = environment.value(QStringLiteral("PATH"));
    environment.insert(QStringLiteral("PATH"), path.isEmpty()
                                                   ? launch.searchPathFirst
                                                   : launch.searchPathFirst + QChar(':') + path);
    process.setProcessEnvironment(environment);
  }
  LaunchResult result;
  result.started = process.startDetached();
  if (!result.started) result.reason = process.errorString();
  return result;
}

bool QProcessLauncher::isBuildTree(const QString& directory) {
  return QFileInfo::exists(directory + QStringLiteral("/../CMakeCache.txt"));
}

namespace {

QString cannotStart(const QString& program, const QString& reason) {
  return QStringLiteral("Cannot start %1: %2").arg(program, reason);
}

}  // namespace

ToolCommand toolCommand(const QString& toolDirectory, const QString& toolName, const QString& file,
                        bool buildTree) {
  ToolCommand command;
  if (buildTree) {
    command.command = toolDirectory + QChar('/') + toolName;
  } else {
    command.command = toolName;
    command.workingDirectory = QFileInfo(file).absolutePath();
    command.searchPathFirst = toolDirectory;
  }
  return command;
}

QString terminalTitle(const QString& toolName, const QString& file) {
  return toolName + QStringLiteral(" - ") + file;
}

QString startToolInTerminal(ProgramLauncher& launcher, const QString& toolDirectory,
                            const QString& toolName, const QString& file) {
  const QString tool = toolDirectory + QChar('/') + toolName;
  if (access(QFile::encodeName(tool).constData(), X_OK) != 0) {
    return cannotStart(tool, QString::fromLocal8Bit(std::strerror(errno)));
  }
  if (QFileInfo(tool).isDir())
    return cannotStart(tool, QString::fromLocal8Bit(std::strerror(EISDIR)));

  const ToolCommand how =
      toolCommand(toolDirectory, toolName, file, launcher.isBuildTree(toolDirectory));
  Launch launch;
  launch.arguments = QStringList{QStringLiteral("-T"), terminalTitle(toolName, file),
                                 QStringLiteral("-e"), how.command, file};
  launch.workingDirectory = how.workingDirectory;
  launch.searchPathFirst = how.searchPathFirst;
  QStringList failures;
  for (const QString& terminal : {QStringLiteral("x-terminal-emulator"), QStringLiteral("xterm")}) {
    launch.program = terminal;
    const LaunchResult result = launcher.startDetached(launch);
    if (result.started) return QString();
    failures << cannotStart(terminal, result.reason);
  }
  return failures.join(QChar('\n'));
}
