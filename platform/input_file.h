// Reading an input file whole, in one pass: the source of tarnel and
// tarnel_perl and the bytecode file of kivinterp.
//
// The file is opened once and read once, so pipes and named FIFOs work as
// regular files do, and a file that never ends (such as /dev/zero) stops at
// the size limit instead of growing memory without end.
#pragma once

#include <cstdint>
#include <string>

// Input files of this size or more are refused, and kMaxInputFileText says
// so in messages. Far beyond any program written by hand, the limit keeps
// every text the programs derive from an input well below 2^31 bytes, so
// their 32-bit positions never overflow, and it bounds the memory and time
// spent on a file that never ends.
constexpr int64_t kMaxInputFileBytes = int64_t{1} << 28;
constexpr const char kMaxInputFileText[] = "256 MiB";

enum class InputStatus {
  Read,        // text holds every byte of the file
  NotFound,    // it cannot be opened for reading, or it is a directory
  TooLarge,    // kMaxInputFileBytes or more (or the limit given)
  ReadFailed,  // opened, but a read failed; reason says why
};

struct InputFile {
  InputStatus status = InputStatus::NotFound;
  std::string text;
  std::string reason;  // the system's reason for NotFound and ReadFailed
};

// Opens path for reading and takes all of its bytes. Memory stays bounded by
// limit whatever the file is. text is empty unless status is Read.
InputFile readInputFile(const std::string& path, int64_t limit = kMaxInputFileBytes);
