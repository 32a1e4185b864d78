// The editor's command line: nothing, to start untitled, or the path of one
// file to open, as a file manager passes it for a double-clicked file.
#pragma once

#include <QString>
#include <QStringList>

struct EditorCommandLine {
  bool valid = true;
  QString file;   // absolute; empty to start untitled
  QString error;  // for the user when not valid
};

// arguments are the program's, its own name first and the window system's
// options already taken out; a relative path is taken from workingDirectory.
EditorCommandLine parseEditorCommandLine(const QStringList& arguments,
                                         const QString& workingDirectory);
