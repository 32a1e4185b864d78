#include "tarnel_ide.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "editor_fakes.h"

namespace {

// Every box is titled with the program's name and names the file and the
// reason in words.
TEST(ReadTextFile, AFileThatCannotBeReadIsNamedWithTheReason) {
  QTemporaryDir dir;
  struct Case {
    QString path;
    const char* reason;
  };
  const Case cases[] = {
      {dir.filePath("absent.tarnel"), "No such file or directory."},
      {dir.path(), "Is a directory."},
  };
  for (const Case& c : cases) {
    RecordingBoxes boxes;
    EXPECT_FALSE(TarnelIDE::ReadTextFile(c.path, boxes).has_value());
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Warning);
    EXPECT_EQ(boxes.boxes[0].title, QStringLiteral("tarnel_ide"));
    EXPECT_EQ(boxes.boxes[0].text, "Cannot open " + c.path + ":\n" + c.reason);
  }
}

TEST(ReadTextFile, SaveFailuresOfAReadOnlyPlaceSuggestSaveAs) {
  EXPECT_EQ(TarnelIDE::cannotSaveText("/r/p.tarnel", EACCES),
            "Cannot save /r/p.tarnel:\nPermission denied.\n\nThe file or its folder is "
            "read-only. Use Save As to save the text under another name or in another folder.");
  EXPECT_EQ(TarnelIDE::cannotSaveText("/r/p.tarnel", ENOSPC),
            "Cannot save /r/p.tarnel:\nNo space left on device.");
}

TEST(ReadTextFile, KeepsEveryByte) {
  QTemporaryDir dir;
  const QString path = dir.filePath("all.tarnel");
  QByteArray bytes;
  for (int i = 0; i < 256; ++i) bytes.append(static_cast<char>(i));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  file.close();

  RecordingBoxes boxes;
  const std::optional<FileText> got = TarnelIDE::ReadTextFile(path, boxes);
  EXPECT_TRUE(boxes.boxes.empty());
  ASSERT_TRUE(got.has_value());
  EXPECT_EQ(got->encoding, TextEncoding::Latin1);
  EXPECT_EQ(got->text.toLatin1(), bytes);
}

}  // namespace
