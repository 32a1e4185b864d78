// Source file reading; see source_file.h.
#include "source_file.h"

#include <cstdio>

#include "source_text.h"

long fileSize(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return -1;
  long size = 0;
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) size += static_cast<long>(got);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return failed ? -1 : size;
}

bool readWholeFile(const std::string& path, std::string& text) {
  text.clear();
  long size = fileSize(path);
  if (size < 0) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  text.reserve(static_cast<std::size_t>(size));
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    text.clear();
    return false;
  }
  std::string::size_type nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  expandBareLineFeeds(text);
  return true;
}
