// Form1, the editor's one window: the text area Text1 with its find bar,
// the menus File, Edit, Compile, Help and Debug, and a status bar. The file
// commands and the document's state live in FileCommands, finding in
// FindBar, the checker's fixes in QuickFixes, debugging (with its dock) in
// DebugCommands; the window wires
// them to the menus and keys, compiles, and asks before unsaved changes
// are lost. Text1 numbers its lines as the file on the disk does and marks
// what the checker finds in the text.
#pragma once

#include <QMainWindow>
#include <QString>

#include "file_commands.h"
#include "file_dialog.h"
#include "message_boxes.h"
#include "source_text.h"
#include "tool_launcher.h"

namespace Ui {
class Form1;
}
class DebugCommands;
class FindBar;
class LiveCheck;
class QuickFixes;
class SourceTextEdit;

// The eleven lines of the program skeleton, each ended by a line end.
extern const char kDefaultProgramTemplate[];

// Twips (1/1440 inch) to pixels at dpi dots per inch, rounded.
int twipsToPixels(int twips, int dpi);

class Form1 : public QMainWindow {
  Q_OBJECT

 public:
  // editorDirectory holds the editor's own program and the two translators
  // (no trailing slash). The dialog, launcher and boxes must outlive the window.
  Form1(const QString& editorDirectory, FileDialog& cmd1, ProgramLauncher& launcher,
        MessageBoxes& boxes, QWidget* parent = nullptr);
  ~Form1() override;

  // CurrentFile: the document's file, or Untitled.tarnel in the editor's
  // folder while the document is untitled.
  QString currentFile() const { return files_->currentFile(); }
  const DocumentState& document() const { return files_->document(); }
  bool isModified() const { return files_->isModified(); }
  // Keeps Text1's marks up to date.
  LiveCheck& liveCheck() { return *liveCheck_; }
  FindBar& findBar() { return *findBar_; }
  // The checker's fixes in the text, and the way to its problems.
  QuickFixes& quickFixes() { return *quickFixes_; }
  // The Debug menu's commands, its dock and the run they drive.
  DebugCommands& debugCommands() { return *debug_; }
  TextEncoding encoding() const { return document().form.encoding; }
  // The text of Text1 with LF line ends, every character as typed.
  QString text() const;
  // Replaces the text as an edit of the user's: the document has changed.
  void setText(const QString& text);

  // The commands, one per menu item.
  void newDocument();
  void open();
  // What Open does once a file is chosen: path becomes CurrentFile and its
  // text replaces Text1's. False, with the text kept, when it cannot be
  // read or the user would not open it.
  bool openFile(const QString& path);
  // The file named on the command line: opened, or a new document with
  // that path when there is no such file yet.
  void startWith(const QString& path);
  // True once the text is in CurrentFile, asking for a name first while
  // the document is untitled; false when the user cancelled or writing
  // failed (after a box saying why).
  bool save();
  bool saveAs();
  void exitEditor();
  void insertDefaultTemplate();
  void compileToPerl();
  void compileToKiv();
  void about();
  void goToLine();

 protected:
  // Alt with a letter in Text1 opens the menu of that initial (File, Edit,
  // Compile, Help) and is otherwise swallowed: it never types into the text.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Closing the window asks about unsaved changes first.
  void closeEvent(QCloseEvent* event) override;

 private:
  void connectEditActions();
  void connectDebugActions();
  // While a debugged program holds the text, nothing may change it.
  void holdText(bool held);
  void documentChanged();
  void showStatus(const QString& text, int timeout = -1);
  void openMenuWithInitial(QChar initial);
  void leaveMenuBar();
  void compileWith(const QString& toolName);
  void sizeClientArea();

  Ui::Form1* ui_;
  SourceTextEdit* text1_;
  FindBar* findBar_;
  LiveCheck* liveCheck_;
  FileCommands* files_;
  DebugCommands* debug_;
  QuickFixes* quickFixes_;
  QString editorDirectory_;
  ProgramLauncher& launcher_;
  MessageBoxes& boxes_;
  FileForm checkedForm_;  // the form the marks were last asked for
};
