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

// Starts a program detached from the editor, without a command processor:
// each argument reaches the program whole, blanks included.
class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;
  virtual LaunchResult startDetached(const QString& program, const QStringList& arguments) = 0;
};

class QProcessLauncher : public ProgramLauncher {
 public:
  LaunchResult startDetached(const QString& program, const QStringList& arguments) override;
};

// Runs "x-terminal-emulator -e TOOL FILE", or "xterm -e TOOL FILE" when the
// first cannot be started. Checks first that tool is an executable file, so
// that a missing tool is reported instead of a terminal that closes at once.
// Returns the empty text on success, otherwise the message for the user,
// naming each program that failed and the reason.
QString startToolInTerminal(ProgramLauncher& launcher, const QString& tool, const QString& file);
