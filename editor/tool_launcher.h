// Starting a translator on a source file in a terminal window of its own.
// The editor does not wait for the tool; the terminal window receives the
// focus from the window system as any new window does.
#pragma once

#include <QString>
#include <QStringList>

struct LaunchResult {
  bool started = false;
  QString reason;  // the system's reason when the program could not start
};

// One program to start detached from the editor.
struct Launch {
  QString program;
  QStringList arguments;     // each reaches the program whole, blanks included
  QString workingDirectory;  // empty: the editor's own working directory
  QString searchPathFirst;   // a folder put before the others in PATH; empty: PATH unchanged
};

// The system the editor starts tools on: starting a program without a
// command processor, and whether a folder of programs is a build tree.
class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;
  virtual LaunchResult startDetached(const Launch& launch) = 0;
  // True for the programs' folder of a build tree (bin/ beside the build's
  // CMakeCache.txt), false for an installed copy.
  virtual bool isBuildTree(const QString& directory) = 0;
};

class QProcessLauncher : public ProgramLauncher {
 public:
  LaunchResult startDetached(const Launch& launch) override;
  bool isBuildTree(const QString& directory) override;
};

// How the terminal runs a tool of the editor's folder on a source file. A
// tool writes its output beside the path it was started by, so:
// - in a build tree, the tool is started by its full path from the
//   editor's working directory, and its output lands beside it, among the
//   programs just built;
// - in an installed copy (system-wide, or in the home folder, where every
//   program's files would collide) it is started by its bare name, found
//   first in the editor's folder, from the source file's folder, so its
//   output and debug.html land beside the source.
struct ToolCommand {
  QString command;           // the full path, or the bare name
  QString workingDirectory;  // empty, or the source file's folder
  QString searchPathFirst;   // empty, or the editor's folder
};
ToolCommand toolCommand(const QString& toolDirectory, const QString& toolName, const QString& file,
                        bool buildTree);

// The terminal title: the tool's name, " - " and the file.
QString terminalTitle(const QString& toolName, const QString& file);

// Runs "x-terminal-emulator -T TITLE -e TOOL FILE", or the same with
// "xterm" when the first cannot be started. Checks first that the tool is an
// executable file in toolDirectory, so that a missing tool is reported
// instead of a terminal that closes at once. Returns the empty text on
// success, otherwise the message for the user, naming each program that
// failed and the reason.
QString startToolInTerminal(ProgramLauncher& launcher, const QString& toolDirectory,
                            const QString& toolName, const QString& file);
