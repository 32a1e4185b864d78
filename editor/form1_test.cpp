#include "form1.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSet>
#include <QStatusBar>
#include <QTemporaryDir>
#include <memory>

#include "editor_window_fixture.h"

namespace {

const QByteArray kSavedTemplate(
    "\r\nkiv object {\r\n\r\nvar {\r\n\r\n}\r\n\r\nbegin {\r\n\r\n}\r\n\r\n}\r\n\r\n");

TEST_F(EditorWindow, StartsUntitledEmptyAndUnchanged) {
  EXPECT_TRUE(window->document().isUntitled());
  EXPECT_EQ(window->currentFile(), untitled());
  EXPECT_EQ(title(), titleOf(untitled()));
  EXPECT_EQ(window->text(), QString());
  EXPECT_FALSE(window->isModified());
}

TEST_F(EditorWindow, MenusCarryTheirNamesCaptionsAndKeys) {
  struct Item {
    const char* menu;
    const char* name;
    const char* caption;
    const char* keys;  // as the menu shows them, "; " between two
  };
  const Item items[] = {
      {"File", "New", "New", "Ctrl+N"},
      {"File", "to", "", ""},
      {"File", "Open", "Open ", "Ctrl+O"},
      {"File", "Save", "Save", "Ctrl+S"},
      {"File", "SaveAs", "Save As", "Ctrl+Shift+S"},
      {"File", "test", "", ""},
      {"File", "Exit", "Exit", "Ctrl+Q"},
      {"Edit", "Default", "Default Program Template", ""},
      {"Edit", "Undo", "Undo", "Ctrl+Z"},
      {"Edit", "Redo", "Redo", "Ctrl+Y; Ctrl+Shift+Z"},
      {"Edit", "Cut", "Cut", "Ctrl+X"},
      {"Edit", "Copy", "Copy", "Ctrl+C"},
      {"Edit", "Paste", "Paste", "Ctrl+V"},
      {"Edit", "SelectAll", "Select All", "Ctrl+A"},
      {"Edit", "Find", "Find...", "Ctrl+F"},
      {"Edit", "FindNext", "Find Next", "F3"},
      {"Edit", "FindPrevious", "Find Previous", "Shift+F3"},
      {"Edit", "Replace", "Replace...", "Ctrl+H"},
      {"Edit", "GoToLine", "Go to Line...", "Ctrl+G"},
      {"Edit", "FixAllProblems", "Fix All Problems", ""},
      {"Edit", "NextProblem", "Next Problem", "F8"},
      {"Edit", "PreviousProblem", "Previous Problem", "Shift+F8"},
      {"Compile", "Perl", "Compile to Perl", ""},
      {"Compile", "KIV", "Compile to KIV ByteCode", ""},
      {"Help", "About", "About", ""},
      {"Debug", "StartOrContinue", "Start or Continue", "F5"},
      {"Debug", "Step", "Step", "F10; F11"},
      {"Debug", "RunToCursor", "Run to Cursor", "Ctrl+F10"},
      {"Debug", "Pause", "Pause", "F6"},
      {"Debug", "Stop", "Stop", "Shift+F5"},
      {"Debug", "StepBack", "Step Back", "Shift+F10"},
      {"Debug", "ReverseContinue", "Reverse Continue", "Ctrl+Shift+F5"},
      {"Debug", "ToggleBreakpoint", "Toggle Breakpoint", "F9"},
      {"Debug", "ClearBreakpoints", "Clear All Breakpoints", "Ctrl+Shift+F9"},
  };
  QStringList menuTitles;
  for (QAction* action : window->menuBar()->actions()) menuTitles << action->text();
  EXPECT_EQ(menuTitles, (QStringList{"File", "Edit", "Compile", "Help", "Debug"}));

  for (const Item& item : items) {
    auto* menu = window->findChild<QMenu*>(item.menu);
    ASSERT_NE(menu, nullptr) << item.menu;
    EXPECT_EQ(menu->title(), QString(item.menu));
    auto* action = window->findChild<QAction*>(item.name);
    ASSERT_NE(action, nullptr) << item.name;
    EXPECT_TRUE(menu->actions().contains(action)) << item.name;
    EXPECT_EQ(action->text(), QString(item.caption)) << item.name;
    EXPECT_EQ(action->isSeparator(), QString(item.caption).isEmpty()) << item.name;
    EXPECT_EQ(QKeySequence::listToString(action->shortcuts()), item.keys) << item.name;
  }
  // The menus' first items stay where they were.
  EXPECT_EQ(window->findChild<QMenu*>("Edit")->actions().first()->objectName(), "Default");
}

TEST_F(EditorWindow, TextAreaFillsTheClientArea) {
  auto* text1 = window->findChild<QPlainTextEdit*>("Text1");
  ASSERT_NE(text1, nullptr);
  EXPECT_EQ(text1->lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(text1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(text1->font().pointSize(), 9);
  if (!QFontDatabase::hasFamily("Fixedsys")) {
    EXPECT_EQ(text1->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
  }

  window->show();
  EXPECT_EQ(text1->width(), twipsToPixels(8610, window->logicalDpiX()));
  EXPECT_EQ(text1->height(), twipsToPixels(5775, window->logicalDpiY()));
  EXPECT_EQ(text1->mapTo(window.get(), QPoint(0, 0)), window->centralWidget()->pos());
  window->resize(300, 200);
  EXPECT_EQ(text1->width(), 300);
  EXPECT_EQ(text1->height(), window->centralWidget()->height());
}

TEST(Twips, ConvertWithTheScreenDpi) {
  EXPECT_EQ(twipsToPixels(8610, 96), 574);
  EXPECT_EQ(twipsToPixels(5775, 96), 385);
  EXPECT_EQ(twipsToPixels(5775, 120), 481);
  EXPECT_EQ(twipsToPixels(1440, 144), 144);
}

TEST_F(EditorWindow, IconIsThirtyTwoPixelsInSixteenColours) {
  const QImage icon(":/tarnel_ide.xpm");
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.size(), QSize(32, 32));
  QSet<QRgb> colours;
  for (int y = 0; y < icon.height(); ++y) {
    for (int x = 0; x < icon.width(); ++x) colours.insert(icon.pixel(x, y));
  }
  EXPECT_LE(colours.size(), 16);
  EXPECT_FALSE(window->windowIcon().isNull());
}

TEST_F(EditorWindow, TemplateIsElevenLinesAndKeepsTheFile) {
  window->setText("old text");
  trigger("Default");
  EXPECT_EQ(window->text(), "kiv object {\n\nvar {\n\n}\n\nbegin {\n\n}\n\n}\n");
  EXPECT_EQ(window->text().count('\n'), 11);
  EXPECT_EQ(window->currentFile(), untitled());
  EXPECT_EQ(title(), titleOf(untitled(), true));
}

TEST_F(EditorWindow, SavesTheTemplateAsExactBytes) {
  const QString path = dir.filePath("demo.tarnel");
  cmd1.answer(path);
  trigger("Default");
  trigger("Save");
  ASSERT_EQ(cmd1.shown.size(), 1u);
  EXPECT_TRUE(cmd1.shown[0].save);
  EXPECT_EQ(cmd1.shown[0].preset, "*.tarnel");
  EXPECT_EQ(window->currentFile(), path);
  EXPECT_EQ(title(), titleOf(path));
  EXPECT_EQ(readBytes(path), kSavedTemplate);
  EXPECT_TRUE(boxes.boxes.empty());
}

// Being untitled is the document's state, not a name: a file whose name
// holds "Untitled.tarnel" is saved under that name, and compiled.
TEST_F(EditorWindow, ANameHoldingTheUntitledNameIsSavedAndCompiled) {
  for (const char* name : {"MyUntitled.tarnel", "Untitled.tarnel", "Untitled.tarnel.old"}) {
    const QString path = dir.filePath(name);
    cmd1.answer(path);
    window->setText(QStringLiteral("kiv %1").arg(name));
    trigger("SaveAs");
    EXPECT_EQ(window->currentFile(), path) << name;
    EXPECT_FALSE(window->document().isUntitled()) << name;
    EXPECT_EQ(readBytes(path), QStringLiteral("\r\nkiv %1\r\n").arg(name).toUtf8()) << name;

    window->setText("kiv changed");
    trigger("KIV");
    EXPECT_EQ(readBytes(path), QByteArray("\r\nkiv changed\r\n")) << name;
    ASSERT_EQ(launcher.starts.size(), 1u) << name;
    EXPECT_EQ(launcher.starts[0].arguments.last(), path) << name;
    launcher.starts.clear();
  }
  EXPECT_EQ(cmd1.shown.size(), 3u);  // one Save As each, and no dialog for Save
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(EditorWindow, OpenThenSaveKeepsEveryByte) {
  const QByteArray files[] = {
      QByteArray("\r\nkiv demo {\r\nprint \"gr\xC3\xBC\xC3\x9F\xC2\xA0\"\r\n}\r\n\r\n"),
      QByteArray("\r\nprint \"\xE9\xA0\xFF\"\r\n\t;\x80\r\n"),
      QByteArray("\xEF\xBB\xBF\r\nkiv\r\n"),
      kSavedTemplate,
  };
  for (const QByteArray& bytes : files) {
    const QString path = dir.filePath("round.tarnel");
    writeBytes(path, bytes);
    cmd1.answer(path);
    trigger("Open");
    EXPECT_EQ(window->currentFile(), path);
    EXPECT_EQ(title(), titleOf(path));
    EXPECT_FALSE(window->isModified());
    trigger("Save");
    EXPECT_EQ(readBytes(path), bytes) << bytes.toHex().constData();
  }
  EXPECT_EQ(cmd1.shown.size(), 4u);  // the open dialogs only
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_TRUE(boxes.questions.empty());
}

TEST_F(EditorWindow, AFailedOpenKeepsTheTextAndNamesTheFileAndTheReason) {
  const QString kept = dir.filePath("kept.tarnel");
  writeBytes(kept, "\r\nkiv kept\r\n");
  window->openFile(kept);
  struct Case {
    QString path;
    const char* reason;
  };
  const Case cases[] = {
      {dir.filePath("gone.tarnel"), "No such file or directory."},
      {dir.path(), "Is a directory."},
  };
  for (const Case& c : cases) {
    cmd1.answer(c.path);
    trigger("Open");
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Warning);
    EXPECT_EQ(boxes.boxes[0].title, "tarnel_ide");
    EXPECT_EQ(boxes.boxes[0].text, "Cannot open " + c.path + ":\n" + c.reason);
    EXPECT_EQ(window->text(), "kiv kept");
    EXPECT_EQ(window->currentFile(), kept);
    EXPECT_EQ(title(), titleOf(kept));
    boxes.boxes.clear();
  }
}

TEST_F(EditorWindow, CancelledDialogsChangeNothing) {
  window->setText("text\n");
  for (const char* command : {"SaveAs", "Save"}) {
    trigger(command);  // no answer scripted: the user cancels
    EXPECT_EQ(window->text(), "text\n") << command;
    EXPECT_EQ(window->currentFile(), untitled()) << command;
    EXPECT_EQ(title(), titleOf(untitled(), true)) << command;
  }
  boxes.answers.push_back(QMessageBox::Discard);
  trigger("Open");
  EXPECT_EQ(window->text(), "text\n");
  EXPECT_TRUE(window->isModified());
  EXPECT_EQ(cmd1.shown.size(), 3u);
  EXPECT_FALSE(QFileInfo::exists(untitled()));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(EditorWindow, EmptyOrPresetNameCountsAsCancelled) {
  for (const char* answer : {"", "*.tarnel"}) {
    cmd1.answer(answer);
    cmd1.answer(answer);
    trigger("Open");
    window->setText("text");
    trigger("SaveAs");
    EXPECT_EQ(window->text(), "text");
    EXPECT_EQ(window->currentFile(), untitled());
    window->setText(QString());
    window->findChild<QPlainTextEdit*>("Text1")->document()->setModified(false);
  }
  EXPECT_EQ(cmd1.shown.size(), 4u);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(EditorWindow, CompileCommandsSaveFirstAndStartTheirTool) {
  struct Case {
    const char* command;
    const char* tool;
  };
  const Case cases[] = {{"Perl", "tarnel_perl"}, {"KIV", "tarnel"}};
  for (const Case& c : cases) {
    boxes.answers.push_back(QMessageBox::Discard);
    trigger("New");
    const QString path = dir.filePath("my prog.tarnel");
    cmd1.answer(path);
    window->setText("kiv");
    trigger(c.command);
    EXPECT_EQ(readBytes(path), QByteArray("\r\nkiv\r\n")) << c.command;
    ASSERT_EQ(launcher.starts.size(), 1u) << c.command;
    EXPECT_EQ(launcher.starts[0].program, "x-terminal-emulator");
    EXPECT_EQ(launcher.starts[0].arguments, (QStringList{"-T", QString(c.tool) + " - " + path, "-e",
                                                         dir.path() + "/" + c.tool, path}))
        << c.command;
    launcher.starts.clear();
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

// Without a file name there is nothing a tool could read: no terminal
// opens, and the status bar says why.
TEST_F(EditorWindow, CompileWithoutANameStartsNothing) {
  window->setText("kiv");
  for (const char* command : {"KIV", "Perl"}) {
    trigger(command);  // the save dialog is cancelled
    EXPECT_TRUE(launcher.starts.empty()) << command;
    EXPECT_EQ(window->statusBar()->currentMessage(),
              "Nothing was compiled: the text has no file name yet.");
    window->statusBar()->clearMessage();
  }
  EXPECT_EQ(cmd1.shown.size(), 2u);
  EXPECT_FALSE(QFileInfo::exists(untitled()));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(EditorWindow, CompileShowsWhyNoTerminalStarted) {
  launcher.missing = QStringList{"x-terminal-emulator", "xterm"};
  cmd1.answer(dir.filePath("p.tarnel"));
  trigger("Perl");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Critical);
  EXPECT_EQ(boxes.boxes[0].title, "tarnel_ide");
  EXPECT_EQ(boxes.boxes[0].text,
            "Cannot start x-terminal-emulator: not found\nCannot start xterm: not found");
}

TEST_F(EditorWindow, FailedSaveShowsWhyAndStartsNothing) {
  const QString path = dir.filePath("missing folder/p.tarnel");
  cmd1.answer(path);
  window->setText("kiv");
  trigger("KIV");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Warning);
  EXPECT_EQ(boxes.boxes[0].title, "tarnel_ide");
  EXPECT_EQ(boxes.boxes[0].text, "Cannot save " + path + ":\nNo such file or directory.");
  EXPECT_TRUE(launcher.starts.empty());
  EXPECT_EQ(window->text(), "kiv");
  EXPECT_TRUE(window->document().isUntitled());
  EXPECT_TRUE(window->isModified());
}

TEST_F(EditorWindow, LatinOneFileRefusesTextItCannotHold) {
  const QString path = dir.filePath("latin.tarnel");
  const QByteArray bytes("\r\nprint \"\xE9\"\r\n");
  writeBytes(path, bytes);
  cmd1.answer(path);
  trigger("Open");
  ASSERT_EQ(window->encoding(), TextEncoding::Latin1);
  window->setText(window->text() + QString::fromUtf8("\xE2\x82\xAC"));
  EXPECT_FALSE(window->save());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].text,
            "Cannot save " + path +
                QString::fromUtf8(":\nThe text holds the character \xE2\x82\xAC, which this "
                                  "file's encoding (Latin-1) cannot store."));
  EXPECT_EQ(readBytes(path), bytes);
}

TEST_F(EditorWindow, AboutNamesTheAuthor) {
  trigger("About");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Information);
  EXPECT_EQ(boxes.boxes[0].title, "tarnel_ide");
  EXPECT_EQ(boxes.boxes[0].text, "Application written by Vennick");
}

}  // namespace
