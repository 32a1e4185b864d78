#include "tool_launcher.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "editor_fakes.h"

namespace {

class TerminalStart : public ::testing::Test {
 protected:
  void SetUp() override {
    tool = dir.filePath("tarnel");
    QFile stub(tool);
    ASSERT_TRUE(stub.open(QIODevice::WriteOnly));
    stub.close();
    stub.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  QTemporaryDir dir;
  QString tool;
  RecordingLauncher launcher;
  const QString file = QStringLiteral("/home/a user/my prog.tarnel");
};

TEST_F(TerminalStart, RunsTheToolInTheTerminalWithTheFileAsOneArgument) {
  EXPECT_EQ(startToolInTerminal(launcher, tool, file), QString());
  ASSERT_EQ(launcher.starts.size(), 1u);
  EXPECT_EQ(launcher.starts[0].program, QStringLiteral("x-terminal-emulator"));
  EXPECT_EQ(launcher.starts[0].arguments, (QStringList{"-e", tool, file}));
}

TEST_F(TerminalStart, FallsBackToXterm) {
  launcher.missing = QStringList{"x-terminal-emulator"};
  EXPECT_EQ(startToolInTerminal(launcher, tool, file), QString());
  ASSERT_EQ(launcher.starts.size(), 2u);
  EXPECT_EQ(launcher.starts[1].program, QStringLiteral("xterm"));
  EXPECT_EQ(launcher.starts[1].arguments, (QStringList{"-e", tool, file}));
}

TEST_F(TerminalStart, NamesEveryTerminalThatFailed) {
  launcher.missing = QStringList{"x-terminal-emulator", "xterm"};
  EXPECT_EQ(startToolInTerminal(launcher, tool, file),
            QStringLiteral("Cannot start x-terminal-emulator: not found\n"
                           "Cannot start xterm: not found"));
}

TEST_F(TerminalStart, MissingToolStartsNoTerminal) {
  const QString absent = dir.filePath("tarnel_perl");
  EXPECT_EQ(startToolInTerminal(launcher, absent, file),
            QStringLiteral("Cannot start %1: No such file or directory").arg(absent));
  EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(TerminalStart, ToolThatIsNotExecutableStartsNoTerminal) {
  QFile(tool).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  EXPECT_EQ(startToolInTerminal(launcher, tool, file),
            QStringLiteral("Cannot start %1: Permission denied").arg(tool));
  EXPECT_TRUE(launcher.starts.empty());
}

TEST(ProcessLauncher, ReportsAProgramThatCannotStart) {
  QProcessLauncher launcher;
  const LaunchResult result =
      launcher.startDetached(QStringLiteral("/nonexistent/no-such-terminal"), {});
  EXPECT_FALSE(result.started);
  EXPECT_FALSE(result.reason.isEmpty());
}

}  // namespace
