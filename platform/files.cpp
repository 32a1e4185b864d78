// Paths and the input file check.
#include <sys/stat.h>

#include <cstdio>

#include "platform.h"

std::string programDirectory(const std::string& argv0) {
  std::string::size_type last = argv0.find_last_of("/\\");
  if (last == std::string::npos) return std::string();
  return argv0.substr(0, last + 1);
}

bool fileExists(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}
