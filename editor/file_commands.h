// The file commands of the editor's window, New, Open, Save and Save As,
// and the question before unsaved changes are thrown away. They keep the
// document's state and its text area in step: a document read from a file
// or written to one is unchanged until the user edits it, and no command
// replaces changed text without asking Save / Discard / Cancel.
#pragma once

#include <QObject>
#include <QString>

#include "document_state.h"
#include "file_dialog.h"
#include "message_boxes.h"

class SourceTextEdit;

// The name Save As keeps: path itself, or path with ".tarnel" added when
// its file name holds no dot at all.
QString withSourceExtension(const QString& path);

class FileCommands : public QObject {
  Q_OBJECT

 public:
  // editorDirectory names the untitled document's CurrentFile (no trailing
  // slash). The dialog and boxes must outlive the commands.
  FileCommands(SourceTextEdit* edit, const QString& editorDirectory, FileDialog& dialog,
               MessageBoxes& boxes, QObject* parent = nullptr);

  const DocumentState& document() const { return document_; }
  // The document's file, or "Untitled.tarnel" in the editor's folder while
  // it is untitled.
  QString currentFile() const;
  // The text changed since it was opened, saved or begun.
  bool isModified() const;

  // Each returns false when it did not happen: the user cancelled, or a
  // file could not be read or written (a box said why). Then the text, the
  // document and the title stay as they were.
  bool newDocument();
  // Asks about unsaved changes, then for the file.
  bool open();
  // Reads path into the text area; asks first when it holds NUL bytes.
  bool openFile(const QString& path);
  // The file named when the editor starts: opened, or, when there is no
  // such file yet, a new empty document with that path that Save creates.
  void startWith(const QString& path);
  // True once the text is in its file. Asks for a name while untitled.
  bool save();
  bool saveAs();
  // Before the text is replaced or the window closes: true to go on, after
  // saving the changes if the user wants them kept.
  bool mayDiscardChanges();

 signals:
  // The file, its form or the text's modified state changed: the title,
  // the margin and the marks follow.
  void documentChanged();
  // A line for the status bar.
  void statusMessage(const QString& text);

 private:
  // The dialog with the preset "*.tarnel"; the empty text when none was
  // chosen.
  QString askFileName(bool forSave);
  // The folder the dialogs start in: the file's while there is one,
  // otherwise the last folder a file was opened from or saved to, or the
  // user's home folder.
  QString dialogDirectory() const;
  // Writes the text to path; false after a box saying why.
  bool writeTo(const QString& path);
  void load(const QString& path, FileText file);
  void noteFolderOf(const QString& path);
  // Says in the status bar when the file's folder or the file cannot be
  // written, so that changes are kept with Save As.
  void noteReadOnly(const QString& path);

  SourceTextEdit* edit_;
  QString editorDirectory_;
  FileDialog& dialog_;
  MessageBoxes& boxes_;
  DocumentState document_;
  QString lastFolder_;
};
