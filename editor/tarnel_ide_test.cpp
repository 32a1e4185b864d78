#include "tarnel_ide.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "editor_fakes.h"

namespace {

TEST(ReadTextFile, MissingFileShowsTheSystemError) {
  QTemporaryDir dir;
  RecordingBoxes boxes;
  const FileText got = TarnelIDE::ReadTextFile(dir.filePath("absent.tarnel"), boxes);
  EXPECT_TRUE(got.text.isEmpty());
  EXPECT_EQ(got.encoding, TextEncoding::Utf8);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].icon, QMessageBox::Warning);
  EXPECT_EQ(boxes.boxes[0].title, QStringLiteral("2 - tarnel_ide"));
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("No such file or directory"));
}

TEST(ReadTextFile, DirectoryShowsTheSystemError) {
  QTemporaryDir dir;
  RecordingBoxes boxes;
  EXPECT_TRUE(TarnelIDE::ReadTextFile(dir.path(), boxes).text.isEmpty());
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].title, QStringLiteral("21 - tarnel_ide"));
  EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("Is a directory"));
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
  const FileText got = TarnelIDE::ReadTextFile(path, boxes);
  EXPECT_TRUE(boxes.boxes.empty());
  EXPECT_EQ(got.encoding, TextEncoding::Latin1);
  EXPECT_EQ(got.text.toLatin1(), bytes);
}

}  // namespace
