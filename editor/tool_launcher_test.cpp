#include "tool_launcher.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

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
  const QString title = QStringLiteral("tarnel - /home/a user/my prog.tarnel");
};

TEST_F(TerminalStart, RunsTheToolByItsPathInATitledTerminal) {
  EXPECT_EQ(startToolInTerminal(launcher, dir.path(), "tarnel", file), QString());
  ASSERT_EQ(launcher.starts.size(), 1u);
  const Launch& start = launcher.starts[0];
  EXPECT_EQ(start.program, "x-terminal-emulator");
  EXPECT_EQ(start.arguments, (QStringList{"-T", title, "-e", tool, file}));
  EXPECT_EQ(start.workingDirectory, QString());
  EXPECT_EQ(start.searchPathFirst, QString());
}

TEST_F(TerminalStart, InstalledToolsRunByTheirBareNamesBesideTheSource) {
  launcher.installed = QStringList{dir.path()};
  EXPECT_EQ(startToolInTerminal(launcher, dir.path(), "tarnel", file), QString());
  ASSERT_EQ(launcher.starts.size(), 1u);
  const Launch& start = launcher.starts[0];
  EXPECT_EQ(start.arguments, (QStringList{"-T", title, "-e", "tarnel", file}));
  EXPECT_EQ(start.workingDirectory, "/home/a user");
  EXPECT_EQ(start.searchPathFirst, dir.path());
}

TEST_F(TerminalStart, FallsBackToXterm) {
  launcher.missing = QStringList{"x-terminal-emulator"};
  EXPECT_EQ(startToolInTerminal(launcher, dir.path(), "tarnel", file), QString());
  ASSERT_EQ(launcher.starts.size(), 2u);
  EXPECT_EQ(launcher.starts[1].program, QStringLiteral("xterm"));
  EXPECT_EQ(launcher.starts[1].arguments, (QStringList{"-T", title, "-e", tool, file}));
}

TEST_F(TerminalStart, NamesEveryTerminalThatFailed) {
  launcher.missing = QStringList{"x-terminal-emulator", "xterm"};
  EXPECT_EQ(startToolInTerminal(launcher, dir.path(), "tarnel", file),
            QStringLiteral("Cannot start x-terminal-emulator: not found\n"
                           "Cannot start xterm: not found"));
}

TEST_F(TerminalStart, MissingToolStartsNoTerminal) {
  const QString absent = dir.filePath("tarnel_perl");
  EXPECT_EQ(startToolInTerminal(launcher, dir.path(), "tarnel_perl", file),
            QStringLiteral("Cannot start %1: No such file or directory").arg(absent));
  EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(TerminalStart, ToolThatIsNotExecutableStartsNoTerminal) {
  QFile(tool).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
  EXPECT_EQ(startToolInTerminal(launcher, dir.path(), "tarnel", file),
            QStringLiteral("Cannot start %1: Permission denied").arg(tool));
  EXPECT_TRUE(launcher.starts.empty());
}

TEST(ProcessLauncher, ReportsAProgramThatCannotStart) {
  QProcessLauncher launcher;
  Launch launch;
  launch.program = QStringLiteral("/nonexistent/no-such-terminal");
  const LaunchResult result = launcher.startDetached(launch);
  EXPECT_FALSE(result.started);
  EXPECT_FALSE(result.reason.isEmpty());
}

// A real detached start: the program runs in the folder it was given and
// finds programs of the given folder first.
TEST(ProcessLauncher, StartsInTheFolderWithTheToolFolderFirstInPath) {
  QTemporaryDir work;
  QTemporaryDir tools;
  const QString probe = tools.filePath("probe");
  QFile script(probe);
  ASSERT_TRUE(script.open(QIODevice::WriteOnly));
  script.write("#!/bin/sh\npwd > where.tmp && mv where.tmp where\n");
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  QProcessLauncher launcher;
  Launch launch;
  launch.program = QStringLiteral("/bin/sh");
  launch.arguments = QStringList{"-c", "probe"};
  launch.workingDirectory = work.path();
  launch.searchPathFirst = tools.path();
  ASSERT_TRUE(launcher.startDetached(launch).started);

  QFile where(work.filePath("where"));
  const QDeadlineTimer deadline(10000);
  while (!where.exists() && !deadline.hasExpired()) QThread::msleep(10);
  ASSERT_TRUE(where.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromLocal8Bit(where.readAll()).trimmed(), work.path());
}

// A build tree's programs lie in bin/ beside the build's CMakeCache.txt;
// any other folder, the home folder's .local/bin included, is installed.
TEST(ProcessLauncher, TellsABuildTreeFromAnInstalledCopy) {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir("bin");
  QProcessLauncher launcher;
  EXPECT_FALSE(launcher.isBuildTree(dir.filePath("bin")));
  QFile cache(dir.filePath("CMakeCache.txt"));
  ASSERT_TRUE(cache.open(QIODevice::WriteOnly));
  cache.close();
  EXPECT_TRUE(launcher.isBuildTree(dir.filePath("bin")));
  EXPECT_FALSE(launcher.isBuildTree(dir.path()));
}

}  // namespace
