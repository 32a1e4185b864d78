// Writing an output file so that it is either complete or not there: the
// bytecode file, the Perl script, the debug report and the editor's save.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "checked_output_buffer.h"

struct WriteResult {
  bool written = false;
  std::string reason;  // the system's reason when it was not written
  int error = 0;       // its errno, so that a caller can explain it further
};

// A new file written beside its target and renamed over it only once every
// byte is on disk. The temporary file has a short name of its own in the
// target's folder (".tmp." and six random characters), so that a target
// whose name is as long as a name can be is written as any other. On any
// failure (no space, a file-size limit, a folder that cannot be written)
// the temporary file is removed and an earlier file at the target stays as
// it was. A new file gets the permissions an ordinary create would give it;
// a replaced file keeps its own.
class AtomicOutputFile {
 public:
  // Creates the temporary file; a failure shows in commit().
  explicit AtomicOutputFile(const std::string& path);
  // Removes the temporary file unless commit() put it in place.
  ~AtomicOutputFile();
  AtomicOutputFile(const AtomicOutputFile&) = delete;
  AtomicOutputFile& operator=(const AtomicOutputFile&) = delete;

  // Where the content goes; writes after a failure are dropped.
  std::ostream& stream() { return stream_; }
  // Finishes the file and puts it in place of the target.
  WriteResult commit();

 private:
  std::string path_;
  std::string temporary_;  // a name pattern until the file is created
  int fd_ = -1;
  int openError_ = 0;
  std::unique_ptr<CheckedOutputBuffer> buffer_;
  std::ostream stream_;
};

// text as the whole content of path, through an AtomicOutputFile.
WriteResult writeFileAtomically(const std::string& path, const std::string& text);
