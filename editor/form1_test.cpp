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
#include <QTemporaryDir>
#include <memory>

#include "editor_window_fixture.h"

namespace {

const QByteArray kSavedTemplate(
    "\r\nkiv object {\r\n\r\nvar {\r\n\r\n}\r\n\r\nbegin {\r\n\r\n}\r\n\r\n}\r\n\r\n");

TEST_F(EditorWindow, StartsUntitledAndEmpty) {
  EXPECT_EQ(window->currentFile(), untitled());
  EXPECT_EQ(title(), "Tarnel IDE - " + untitled());
  EXPECT_EQ(window->text(), QString());
}

TEST_F(EditorWindow, MenusCarryTheirNamesAndCaptions) {
  struct Item {
    const char* menu;
    const char* name;
    const char* caption;
    bool separator;
  };
  const Item items[] = {
      {"File", "New", "New", false},
      {"File", "to", "", true},
      {"File", "Open", "Open ", false},
      {"File", "Save", "Save", false},
      {"File", "SaveAs", "Save As", false},
      {"File", "test", "", true},
      {"File", "Exit", "Exit", false},
      {"Edit", "Default", "Default Program Template", false},
      {"Compile", "Perl", "Compile to Perl", false},
      {"Compile", "KIV", "Compile to KIV ByteCode", false},
      {"Help", "About", "About", false},
  };
  QStringList menuTitles;
  for (QAction* action : window->menuBar()->actions()) menuTitles << action->text();
  EXPECT_EQ(menuTitles, (QStringList{"File", "Edit", "Compile", "Help"}));

  for (const Item& item : items) {
    auto* menu = window->findChild<QMenu*>(item.menu);
    ASSERT_NE(menu, nullptr) << item.menu;
    EXPECT_EQ(menu->title(), QString(item.menu));
    auto* action = window->findChild<QAction*>(item.name);
    ASSERT_NE(action, nullptr) << item.name;
    EXPECT_TRUE(menu->actions().contains(action)) << item.name;
    EXPECT_EQ(action->text(), QString(item.caption)) << item.name;
    EXPECT_EQ(action->isSeparator(), item.separator) << item.name;
    EXPECT_TRUE(action->shortcut().isEmpty()) << item.name;
  }
}

TEST_F(EditorWindow, TextAreaFillsTheClientArea) {
  auto* text1 = window->findChild<QPlainTextEdit*>("Text1");
  ASSERT_NE(text1, nullptr);
  EXPECT_EQ(window->centralWidget(), text1);
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
  window->resize(300, 200);
  EXPECT_EQ(text1->width(), 300);
  EXPECT_EQ(text1->geometry().bottom(), 199);
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
  EXPECT_EQ(title(), "Tarnel IDE - " + untitled());
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
  EXPECT_EQ(title(), "Tarnel IDE - " + path);
  EXPECT_EQ(readBytes(path), kSavedTemplate);
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST(CurrentFile, UntitledTestLooksForTheExactNameAnywhere) {
  struct Case {
    QString file;
    bool untitled;
  };
  const Case cases[] = {
      {"/x/Untitled.tarnel", true},
      {"/x/MyUntitled.tarnel.old", true},
      {"/x/Untitled.tarnel/prog.tarnel", true},
      {"/x/untitled.tarnel", false},
      {"/x/Untitled.tarne", false},
      {"/x/prog.tarnel", false},
  };
  for (const Case& c : cases) EXPECT_EQ(isUntitled(c.file), c.untitled) << qPrintable(c.file);
}

TEST_F(EditorWindow, SaveAsksAgainWhileTheChosenNameIsUntitled) {
  const QString longer = dir.filePath("MyUntitled.tarnel.txt");
  const QString final = dir.filePath("named.tarnel");
  cmd1.answer(longer);
  cmd1.answer(final);
  window->setText("kiv");
  trigger("Save");
  EXPECT_EQ(cmd1.shown.size(), 2u);
  EXPECT_FALSE(QFileInfo::exists(longer));
  EXPECT_EQ(window->currentFile(), final);
  EXPECT_EQ(readBytes(final), QByteArray("\r\nkiv\r\n"));
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
    EXPECT_EQ(title(), "Tarnel IDE - " + path);
    trigger("Save");
    EXPECT_EQ(readBytes(path), bytes) << bytes.toHex().constData();
  }
  EXPECT_EQ(cmd1.shown.size(), 4u);  // the open dialogs only
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(EditorWindow, OpenOfAnUnreadableFileEmptiesTheText) {
  const QString path = dir.filePath("gone.tarnel");
  window->setText("kept?");
  cmd1.answer(path);
  trigger("Open");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].title, "2 - tarnel_ide");
  EXPECT_EQ(window->text(), QString());
  EXPECT_EQ(window->currentFile(), path);
  EXPECT_EQ(title(), "Tarnel IDE - " + path);
}

TEST_F(EditorWindow, CancelledDialogsChangeNothing) {
  const char* commands[] = {"Open", "SaveAs", "Save"};
  for (const char* command : commands) {
    window->setText("text\n");
    trigger(command);  // no answer scripted: the user cancels
    EXPECT_EQ(window->text(), "text\n") << command;
    EXPECT_EQ(window->currentFile(), untitled()) << command;
    EXPECT_EQ(title(), "Tarnel IDE - " + untitled()) << command;
  }
  EXPECT_EQ(cmd1.shown.size(), 3u);
  EXPECT_FALSE(QFileInfo::exists(untitled()));
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(EditorWindow, EmptyOrPresetNameCountsAsCancelled) {
  for (const char* answer : {"", "*.tarnel"}) {
    cmd1.answer(answer);
    cmd1.answer(answer);
    window->setText("text");
    trigger("Open");
    trigger("SaveAs");
    EXPECT_EQ(window->text(), "text");
    EXPECT_EQ(window->currentFile(), untitled());
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

TEST_F(EditorWindow, CompileGoesOnWithTheUntitledFileWhenSaveIsCancelled) {
  trigger("KIV");
  EXPECT_EQ(cmd1.shown.size(), 1u);
  EXPECT_FALSE(QFileInfo::exists(untitled()));
  ASSERT_EQ(launcher.starts.size(), 1u);
  EXPECT_EQ(launcher.starts[0].arguments.mid(2),
            (QStringList{"-e", dir.path() + "/tarnel", untitled()}));
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
  EXPECT_TRUE(boxes.boxes[0].text.startsWith("Cannot save " + path + ":\n"));
  EXPECT_TRUE(launcher.starts.empty());
  EXPECT_EQ(window->text(), "kiv");
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

TEST_F(EditorWindow, NewAndExitDiscardWithoutAsking) {
  const QString path = dir.filePath("kept.tarnel");
  writeBytes(path, "\r\nold\r\n");
  cmd1.answer(path);
  trigger("Open");
  window->setText("unsaved");
  trigger("New");
  EXPECT_EQ(window->text(), QString());
  EXPECT_EQ(window->currentFile(), untitled());
  EXPECT_EQ(title(), "Tarnel IDE - " + untitled());

  window->show();
  window->setText("unsaved again");
  trigger("Exit");
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(cmd1.shown.size(), 1u);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(readBytes(path), QByteArray("\r\nold\r\n"));
  EXPECT_FALSE(QFileInfo::exists(untitled()));
}

TEST_F(EditorWindow, AboutNamesTheAuthor) {
  trigger("About");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Information);
  EXPECT_EQ(boxes.boxes[0].title, "tarnel_ide");
  EXPECT_EQ(boxes.boxes[0].text, "Application written by Vennick");
}

}  // namespace
