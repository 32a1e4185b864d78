// Reading the editor's command line.
#include "command_line.h"

#include <QDir>

EditorCommandLine parseEditorCommandLine(const QStringList& arguments,
                                         const QString& workingDirectory) {
  EditorCommandLine result;
  const QString self = arguments.isEmpty() ? QStringLiteral("tarnel_ide") : arguments.first();
  if (arguments.size() > 2 || (arguments.size() == 2 && arguments[1].isEmpty())) {
    result.valid = false;
    result.error = QStringLiteral("usage: %1 [FILE.tarnel]").arg(self);
    return result;
  }
  if (arguments.size() == 2) {
    // The tools and the dialogs work from other folders, so the path is
    // made absolute now, against the folder the editor was started in.
    result.file = QDir::cleanPath(QDir(workingDirectory).absoluteFilePath(arguments[1]));
  }
  return result;
}
