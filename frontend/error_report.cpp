// The numbered error lines of the front end and both back ends, and their
// capture for a program that runs the front end silently.
#include <cstdarg>
#include <cstdio>
#include <iostream>
#include <vector>

#include "front_end.h"

int errorCount = 0;

namespace {

thread_local ErrorCapture* activeCapture = nullptr;

void report(SourcePosition position, const char* format, va_list args) {
  // The text grows to whatever the arguments need: names and paths have no
  // length limit, so nothing is cut.
  va_list measure;
  va_copy(measure, args);
  int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::vector<char> text(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size(), format, args);
  std::size_t size = length > 0 ? static_cast<std::size_t>(length) : 0;

  if (activeCapture != nullptr) {
    activeCapture->add(ReportedError{std::string(text.data(), size), position});
    return;
  }
  ++errorCount;
  std::cout << "error(" << errorCount << ") ";
  std::cout.write(text.data(), static_cast<std::streamsize>(size));
  std::cout << '\n' << std::flush;
}

}  // namespace

ErrorCapture::ErrorCapture() : previous_(activeCapture) { activeCapture = this; }

ErrorCapture::~ErrorCapture() { activeCapture = previous_; }

void reportError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  report(SourcePosition(), format, args);
  va_end(args);
}

void reportErrorAt(SourcePosition position, const char* format, ...) {
  va_list args;
  va_start(args, format);
  report(position, format, args);
  va_end(args);
}
