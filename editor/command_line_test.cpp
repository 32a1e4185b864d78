#include "command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(EditorCommandLine, NoneOrOneFileMadeAbsolute) {
  struct Case {
    QStringList arguments;
    bool valid;
    QString file;
  };
  const Case cases[] = {
      {{"tarnel_ide"}, true, ""},
      {{}, true, ""},
      {{"tarnel_ide", "prog.tarnel"}, true, "/home/u/work/prog.tarnel"},
      {{"tarnel_ide", "../prog.tarnel"}, true, "/home/u/prog.tarnel"},
      {{"tarnel_ide", "./my prog.tarnel"}, true, "/home/u/work/my prog.tarnel"},
      {{"tarnel_ide", "/tmp/a.tarnel"}, true, "/tmp/a.tarnel"},
      {{"tarnel_ide", "a.tarnel", "b.tarnel"}, false, ""},
      {{"tarnel_ide", ""}, false, ""},
  };
  for (const Case& c : cases) {
    const EditorCommandLine got = parseEditorCommandLine(c.arguments, "/home/u/work");
    EXPECT_EQ(got.valid, c.valid) << qPrintable(c.arguments.join('|'));
    EXPECT_EQ(got.file, c.file) << qPrintable(c.arguments.join('|'));
  }
}

TEST(EditorCommandLine, WrongUseNamesTheForm) {
  EXPECT_EQ(parseEditorCommandLine({"/usr/bin/tarnel_ide", "a", "b"}, "/").error,
            "usage: /usr/bin/tarnel_ide [FILE.tarnel]");
}

}  // namespace
