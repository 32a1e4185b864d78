// Source file reading; see source_file.h.
#include "source_file.h"

#include <iostream>

#include "source_text.h"

bool readSourceFile(const std::string& path, InputFile& source) {
  source = readInputFile(path);
  if (source.status == InputStatus::NotFound) {
    std::cout << "file " << path << " not found .. " << '\n' << std::flush;
    return false;
  }
  if (source.status == InputStatus::TooLarge) {
    std::cout << "file " << path << " too large (" << kMaxInputFileText << " or more) .. " << '\n'
              << std::flush;
    return false;
  }
  return true;
}

void prepareSourceText(std::string& text) {
  std::string::size_type nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  expandBareLineFeeds(text);
}

bool readWholeFile(const std::string& path, std::string& text) {
  InputFile file = readInputFile(path);
  text.swap(file.text);
  if (file.status != InputStatus::Read) {
    text.clear();
    return false;
  }
  prepareSourceText(text);
  return true;
}
