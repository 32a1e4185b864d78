// Reading input files in one pass, writing output files whole or not at
// all, and checked descriptor output.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "checked_output_buffer.h"
#include "input_file.h"
#include "output_file.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test {
 protected:
  void TearDown() override { fs::remove_all(directory_); }
  void write(const std::string& name, const std::string& bytes) {
    std::ofstream(directory_ + name, std::ios::binary) << bytes;
  }
  // The names in the directory, to show that no temporary file stays.
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(directory_)) {
      found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
  }
  std::string directory_ = freshDirectory();
};

using ReadInputFile = Files;

TEST_F(ReadInputFile, TakesEveryByte) {
  const std::string bytes("a\0b\r\nc", 6);
  write("in", bytes);
  InputFile file = readInputFile(directory_ + "in");
  EXPECT_EQ(file.status, InputStatus::Read);
  EXPECT_EQ(file.text, bytes);
}

TEST_F(ReadInputFile, RefusesWhatCannotBeOpenedAsAFile) {
  EXPECT_EQ(readInputFile(directory_ + "missing").status, InputStatus::NotFound);
  EXPECT_EQ(readInputFile(directory_).status, InputStatus::NotFound);
  EXPECT_EQ(readInputFile(directory_).reason, "Is a directory");
  write("secret", "x");
  chmod((directory_ + "secret").c_str(), 0);
  if (geteuid() != 0) {
    EXPECT_EQ(readInputFile(directory_ + "secret").status, InputStatus::NotFound);
  }
}

TEST_F(ReadInputFile, RefusesFilesAtTheLimitBeforeReadingThem) {
  write("nine", "123456789");
  EXPECT_EQ(readInputFile(directory_ + "nine", 10).status, InputStatus::Read);
  InputFile refused = readInputFile(directory_ + "nine", 9);
  EXPECT_EQ(refused.status, InputStatus::TooLarge);
  EXPECT_EQ(refused.text, "");
  // A sparse file as large as the real limit costs nothing to refuse.
  ASSERT_EQ(truncate((directory_ + "nine").c_str(), kMaxInputFileBytes), 0);
  EXPECT_EQ(readInputFile(directory_ + "nine").status, InputStatus::TooLarge);
}

TEST_F(ReadInputFile, StopsAFileThatNeverEndsAtTheLimit) {
  EXPECT_EQ(readInputFile("/dev/zero", 1 << 20).status, InputStatus::TooLarge);
}

TEST_F(ReadInputFile, ReadsANamedFifoOnceWhileItsWriterWrites) {
  const std::string fifo = directory_ + "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string bytes(200000, 'k');
  pid_t writer = fork();
  if (writer == 0) {
    std::ofstream(fifo, std::ios::binary) << bytes;
    _exit(0);
  }
  InputFile file = readInputFile(fifo);
  int status = 0;
  waitpid(writer, &status, 0);
  EXPECT_EQ(file.status, InputStatus::Read);
  EXPECT_EQ(file.text, bytes);
}

using WriteFileAtomically = Files;

TEST_F(WriteFileAtomically, CreatesAndReplacesKeepingTheOldMode) {
  const std::string path = directory_ + "out.kiv";
  ASSERT_TRUE(writeFileAtomically(path, "first").written);
  EXPECT_EQ(readFile(path), "first");
  chmod(path.c_str(), 0640);
  ASSERT_TRUE(writeFileAtomically(path, "second").written);
  EXPECT_EQ(readFile(path), "second");
  struct stat info {};
  stat(path.c_str(), &info);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(names(), std::vector<std::string>{"out.kiv"});
}

TEST_F(WriteFileAtomically, FailsInAFolderThatIsNotThere) {
  WriteResult result = writeFileAtomically(directory_ + "missing/out.kiv", "x");
  EXPECT_FALSE(result.written);
  EXPECT_EQ(result.reason, "No such file or directory");
  EXPECT_EQ(result.error, ENOENT);
}

// The temporary file's name is short and its own, so a target named with
// the 255 bytes a folder allows is written; one byte more is refused.
TEST_F(WriteFileAtomically, WritesATargetWhoseNameIsAsLongAsANameCanBe) {
  const std::string longest = std::string(251, 'a') + ".kiv";
  {
    AtomicOutputFile file(directory_ + longest);
    file.stream() << "whole";
    const std::vector<std::string> during = names();
    ASSERT_EQ(during.size(), 1u);
    EXPECT_EQ(during[0].rfind(".tmp.", 0), 0u) << during[0];
    EXPECT_EQ(during[0].size(), 11u);
    ASSERT_TRUE(file.commit().written);
  }
  EXPECT_EQ(readFile(directory_ + longest), "whole");
  EXPECT_EQ(names(), std::vector<std::string>{longest});

  const WriteResult tooLong = writeFileAtomically(directory_ + "b" + longest, "x");
  EXPECT_FALSE(tooLong.written);
  EXPECT_EQ(tooLong.error, ENAMETOOLONG);
  EXPECT_EQ(names(), std::vector<std::string>{longest});
}

TEST_F(WriteFileAtomically, LeavesTheOldFileWholeWhenTheTargetIsAFolder) {
  fs::create_directory(directory_ + "out.kiv");
  EXPECT_FALSE(writeFileAtomically(directory_ + "out.kiv", "x").written);
  EXPECT_EQ(names(), std::vector<std::string>{"out.kiv"});
}

// A file-size limit makes the write fail part way, as a full disk does.
TEST_F(WriteFileAtomically, LeavesTheOldFileWholeWhenAWriteFails) {
  const std::string path = directory_ + "out.pl";
  write("out.pl", "the old script");
  pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    WriteResult result = writeFileAtomically(path, std::string(100000, 'x'));
    _exit(!result.written && result.reason == "File too large" ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(readFile(path), "the old script");
  EXPECT_EQ(names(), std::vector<std::string>{"out.pl"});
}

TEST_F(WriteFileAtomically, NothingIsLeftWhenNotCommitted) {
  {
    AtomicOutputFile file(directory_ + "report.html");
    file.stream() << "half";
  }
  EXPECT_TRUE(names().empty());
}

TEST(CheckedOutputBuffer, KeepsTheFirstFailure) {
  int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  CheckedOutputBuffer buffer(full, false);
  std::ostream out(&buffer);
  out << "lost" << std::flush;
  EXPECT_EQ(buffer.error(), ENOSPC);
  buffer.setError(EBADF);
  EXPECT_EQ(buffer.error(), ENOSPC);
  close(full);
}

TEST(CheckedOutputBuffer, WritesEachLineAtOnceWhenLineBuffered) {
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  fcntl(pipeEnds[0], F_SETFL, O_NONBLOCK);
  char got[16] = {};
  {
    CheckedOutputBuffer lines(pipeEnds[1], true);
    std::ostream out(&lines);
    out << "one\ntw";
    EXPECT_EQ(read(pipeEnds[0], got, sizeof got), 6);
    EXPECT_EQ(std::string(got, 6), "one\ntw");
  }
  {
    CheckedOutputBuffer whole(pipeEnds[1], false);
    std::ostream out(&whole);
    out << "three\n";
    EXPECT_EQ(read(pipeEnds[0], got, sizeof got), -1);
    out.flush();
    EXPECT_EQ(read(pipeEnds[0], got, sizeof got), 6);
    EXPECT_EQ(whole.error(), 0);
  }
  close(pipeEnds[0]);
  close(pipeEnds[1]);
}

}  // namespace
