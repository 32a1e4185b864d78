// Unsaved changes are never lost without a question, files that are no
// program text are never rewritten without a second one, and a file named
// on the command line that does not exist yet becomes a new document.
#include "file_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QStatusBar>

#include "editor_window_fixture.h"

namespace {

using Button = QMessageBox::StandardButton;

class UnsavedWork : public EditorWindow {
 protected:
  QPlainTextEdit* text1() const { return window->findChild<QPlainTextEdit*>("Text1"); }

  // Types text at the end, as the user would: one undoable edit.
  void type(const QString& text) {
    text1()->moveCursor(QTextCursor::End);
    text1()->insertPlainText(text);
  }

  QString opened(const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    writeBytes(path, bytes);
    EXPECT_TRUE(window->openFile(path));
    return path;
  }
};

TEST_F(UnsavedWork, TheTitleShowsChangesUntilTheyAreSavedOrUndone) {
  const QString path = opened("p.tarnel", "\r\nkiv p\r\n");
  EXPECT_EQ(title(), titleOf(path));
  type("x");
  EXPECT_EQ(title(), titleOf(path, true));
  text1()->undo();
  EXPECT_EQ(title(), titleOf(path));
  type("y");
  ASSERT_TRUE(window->save());
  EXPECT_EQ(title(), titleOf(path));
  EXPECT_EQ(readBytes(path), QByteArray("\r\nkiv py\r\n"));
}

TEST_F(UnsavedWork, NewOnChangedTextAsksSaveDiscardOrCancel) {
  type("kiv mine");
  trigger("New");  // no answer: Cancel
  ASSERT_EQ(boxes.questions.size(), 1u);
  EXPECT_EQ(boxes.questions[0].title, "tarnel_ide");
  EXPECT_EQ(boxes.questions[0].text,
            "The untitled text has changes that are not saved.\nSave them?");
  EXPECT_EQ(boxes.questions[0].buttons, Button::Save | Button::Discard | Button::Cancel);
  EXPECT_EQ(window->text(), "kiv mine");
  text1()->undo();  // the history is still there
  EXPECT_EQ(window->text(), QString());
  type("kiv mine");

  // Save, but the name is not given: the text stays.
  boxes.answers = {Button::Save};
  trigger("New");
  EXPECT_EQ(window->text(), "kiv mine");
  EXPECT_EQ(cmd1.shown.size(), 1u);

  // Save with a name: written, then the new document.
  const QString path = dir.filePath("mine.tarnel");
  boxes.answers = {Button::Save};
  cmd1.answer(path);
  trigger("New");
  EXPECT_EQ(readBytes(path), QByteArray("\r\nkiv mine\r\n"));
  EXPECT_EQ(window->text(), QString());
  EXPECT_TRUE(window->document().isUntitled());

  type("kiv thrown away");
  boxes.answers = {Button::Discard};
  trigger("New");
  EXPECT_EQ(window->text(), QString());
  EXPECT_FALSE(window->isModified());
  EXPECT_EQ(boxes.questions.size(), 4u);
  EXPECT_EQ(readBytes(path), QByteArray("\r\nkiv mine\r\n"));
}

TEST_F(UnsavedWork, OpenExitAndClosingTheWindowAskToo) {
  const QString path = opened("p.tarnel", "\r\nkiv p\r\n");
  type(" changed");
  trigger("Open");  // Cancel: no dialog comes up
  EXPECT_TRUE(cmd1.shown.empty());
  ASSERT_EQ(boxes.questions.size(), 1u);
  EXPECT_EQ(boxes.questions[0].text,
            "The text of " + path + " has changes that are not saved.\nSave them?");

  window->show();
  trigger("Exit");
  EXPECT_TRUE(window->isVisible());
  window->close();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(boxes.questions.size(), 3u);

  boxes.answers = {Button::Save};
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(readBytes(path), QByteArray("\r\nkiv p changed\r\n"));
}

TEST_F(UnsavedWork, NothingAsksWhenTheTextIsUnchanged) {
  opened("p.tarnel", "\r\nkiv p\r\n");
  type("x");
  text1()->undo();
  trigger("New");
  trigger("Default");
  ASSERT_TRUE(window->isModified());  // the template is a change
  text1()->undo();
  window->show();
  trigger("Exit");
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(boxes.questions.empty());
}

// A file with NUL bytes is most likely no program text: it opens as text
// only when the user says so, and Save, Compile included, asks once more
// before it replaces that file.
TEST_F(UnsavedWork, AFileWithNulBytesIsOpenedAndRewrittenOnlyAfterAQuestion) {
  const QString kept = opened("kept.tarnel", "\r\nkiv kept\r\n");
  const QString binary = dir.filePath("prog.bin");
  const QByteArray bytes(
      "\x7F"
      "ELF\x02\x01\x00\x00\r\n\x00\x0A\xFF",
      14);
  writeBytes(binary, bytes);

  EXPECT_FALSE(window->openFile(binary));  // Cancel
  ASSERT_EQ(boxes.questions.size(), 1u);
  EXPECT_EQ(boxes.questions[0].text,
            binary +
                " holds NUL bytes, so it is most likely not a program text.\n"
                "Open it as text all the same?");
  EXPECT_EQ(boxes.questions[0].buttons, Button::Open | Button::Cancel);
  EXPECT_EQ(window->currentFile(), kept);
  EXPECT_EQ(window->text(), "kiv kept");

  boxes.answers = {Button::Open};
  ASSERT_TRUE(window->openFile(binary));
  EXPECT_EQ(window->currentFile(), binary);
  EXPECT_TRUE(window->document().readWithNulBytes);

  for (const char* command : {"Save", "KIV"}) {
    trigger(command);  // Cancel
    EXPECT_EQ(readBytes(binary), bytes) << command;
    EXPECT_EQ(boxes.questions.back().buttons, Button::Save | Button::Cancel);
    EXPECT_TRUE(boxes.questions.back().text.startsWith(binary + " held NUL bytes when it was "
                                                                "opened."));
  }
  EXPECT_TRUE(launcher.starts.empty());
  EXPECT_EQ(window->statusBar()->currentMessage(), "Nothing was compiled: the text was not saved.");

  // Save As elsewhere leaves the file alone and asks nothing.
  const QString copy = dir.filePath("copy.tarnel");
  cmd1.answer(copy);
  const std::size_t asked = boxes.questions.size();
  trigger("SaveAs");
  EXPECT_EQ(boxes.questions.size(), asked);
  EXPECT_TRUE(QFileInfo::exists(copy));
  EXPECT_EQ(readBytes(binary), bytes);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(UnsavedWork, AgreeingToRewriteANulFileSavesIt) {
  const QString binary = dir.filePath("nul.tarnel");
  writeBytes(binary, QByteArray("\r\nkiv\x00x\r\n", 9));
  boxes.answers = {Button::Open, Button::Save};
  ASSERT_TRUE(window->openFile(binary));
  ASSERT_TRUE(window->save());
  EXPECT_EQ(readBytes(binary), QByteArray("\r\nkiv\x00x\r\n", 9));
  ASSERT_TRUE(window->save());  // written back once: the editor's file now
  EXPECT_EQ(boxes.questions.size(), 2u);
}

// tarnel_ide newprog.tarnel for a file that is not there yet.
TEST_F(UnsavedWork, AMissingFileNamedOnTheCommandLineIsANewDocumentWithThatPath) {
  const QString path = dir.filePath("newprog.tarnel");
  window->startWith(path);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_FALSE(window->document().isUntitled());
  EXPECT_EQ(window->currentFile(), path);
  EXPECT_EQ(title(), titleOf(path));
  EXPECT_EQ(window->text(), QString());
  EXPECT_EQ(window->statusBar()->currentMessage(), path + " is a new file: Save creates it.");
  EXPECT_FALSE(QFileInfo::exists(path));

  type("kiv newprog");
  trigger("Save");
  EXPECT_TRUE(cmd1.shown.empty());
  EXPECT_EQ(readBytes(path), QByteArray("\r\nkiv newprog\r\n"));

  // An existing file is opened as Open opens it.
  window->startWith(path);
  EXPECT_EQ(window->text(), "kiv newprog");
}

TEST_F(UnsavedWork, SavingThroughALinkKeepsTheLink) {
  const QString target = dir.filePath("real.tarnel");
  const QString link = dir.filePath("link.tarnel");
  writeBytes(target, "\r\nold\r\n");
  ASSERT_TRUE(QFile::link(target, link));
  window->openFile(link);
  type(" new");
  ASSERT_TRUE(window->save());
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(readBytes(target), QByteArray("\r\nold new\r\n"));
}

TEST_F(UnsavedWork, AReadOnlyFileSaysToUseSaveAs) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write every file";
  const QString path = dir.filePath("ro.tarnel");
  writeBytes(path, "\r\nkiv ro\r\n");
  QFile::setPermissions(path, QFile::ReadOwner);
  window->openFile(path);
  EXPECT_EQ(window->statusBar()->currentMessage(),
            path + " is read-only here: use Save As to keep your changes in another file.");
  type("x");
  EXPECT_FALSE(window->save());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_TRUE(
      boxes.boxes[0].text.endsWith("Use Save As to save the text under another name or in "
                                   "another folder."))
      << boxes.boxes[0].text.toStdString();
  EXPECT_EQ(readBytes(path), QByteArray("\r\nkiv ro\r\n"));
  EXPECT_TRUE(window->isModified());
}

}  // namespace
