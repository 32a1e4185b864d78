// The numbered error lines of the front end and both back ends.
#include <cstdarg>
#include <cstdio>
#include <iostream>
#include <vector>

#include "front_end.h"

int errorCount = 0;

void reportError(const char* format, ...) {
  // The text grows to whatever the arguments need: names and paths have no
  // length limit, so nothing is cut.
  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::vector<char> text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size(), format, args);
  va_end(args);

  ++errorCount;
  std::cout << "error(" << errorCount << ") ";
  std::cout.write(text.data(), length > 0 ? length : 0);
  std::cout << '\n' << std::flush;
}
