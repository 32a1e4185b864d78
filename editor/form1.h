// Form1, the editor's one window: the text area Text1 and the menu commands
// New, Open, Save, Save As, Exit, Default Program Template, Compile to Perl,
// Compile to KIV ByteCode and About. The window's only state is CurrentFile,
// the encoding the text will be saved in, and the text itself; no command
// asks about unsaved changes. Text1 numbers its lines as the saved file does
// and marks what the checker finds in the text as it would be saved.
#pragma once

#include <QMainWindow>
#include <QString>

#include "file_dialog.h"
#include "message_boxes.h"
#include "source_text.h"
#include "tool_launcher.h"

namespace Ui {
class Form1;
}
class LiveCheck;
class SourceTextEdit;

// The eleven lines of the program skeleton, each ended by a line end.
extern const char kDefaultProgramTemplate[];

// The name an untitled document carries inside CurrentFile.
extern const char kUntitledName[];

// CurrentFile counts as not yet named when it holds "Untitled.tarnel"
// anywhere (exact, case-sensitive).
bool isUntitled(const QString& currentFile);

// Twips (1/1440 inch) to pixels at dpi dots per inch, rounded.
int twipsToPixels(int twips, int dpi);

// The name Save As keeps: path itself, or path with ".tarnel" added when
// its file name holds no dot at all.
QString withSourceExtension(const QString& path);

class Form1 : public QMainWindow {
  Q_OBJECT

 public:
  // editorDirectory holds the editor's own program and the two translators
  // (no trailing slash). The dialog, launcher and boxes must outlive the window.
  Form1(const QString& editorDirectory, FileDialog& cmd1, ProgramLauncher& launcher,
        MessageBoxes& boxes, QWidget* parent = nullptr);
  ~Form1() override;

  const QString& currentFile() const { return currentFile_; }
  // Keeps Text1's marks up to date.
  LiveCheck& liveCheck() { return *liveCheck_; }
  TextEncoding encoding() const { return encoding_; }
  // The text of Text1 with LF line ends, every character as typed.
  QString text() const;
  void setText(const QString& text);

  // The commands, one per menu item.
  void newDocument();
  void open();
  // What Open does once a file is chosen: path becomes CurrentFile and its
  // text replaces Text1's. The file named on the command line opens so.
  void openFile(const QString& path);
  // Writes Text1 to CurrentFile, asking for a name first while it is
  // untitled. False only when writing failed (after an error box); a
  // cancelled dialog is not a failure.
  bool save();
  bool saveAs();
  void exitEditor();
  void insertDefaultTemplate();
  void compileToPerl();
  void compileToKiv();
  void about();

 protected:
  // Alt with a letter in Text1 opens the menu of that initial (File, Edit,
  // Compile, Help) and is otherwise swallowed: it never types into the text.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString untitledPath() const;
  void setCurrentFile(const QString& path);
  // Shows the dialog with the preset "*.tarnel"; the empty text when no file
  // was chosen.
  QString askFileName(bool forSave);
  // The folder the dialogs start in: CurrentFile's. While untitled that is
  // the editor directory, or the working directory when the editor
  // directory cannot take files (a system-wide installation).
  QString dialogDirectory() const;
  void openMenuWithInitial(QChar initial);
  bool writeCurrentFile();
  void compileWith(const QString& toolName);
  void sizeClientArea();

  Ui::Form1* ui_;
  SourceTextEdit* text1_;
  LiveCheck* liveCheck_;
  QString editorDirectory_;
  FileDialog& cmd1_;
  ProgramLauncher& launcher_;
  MessageBoxes& boxes_;
  QString currentFile_;
  TextEncoding encoding_ = TextEncoding::Utf8;
};
