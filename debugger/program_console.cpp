// The program's console in a session; see program_console.h.
#include "program_console.h"

#include <utility>

LineTrackingOutput::int_type LineTrackingOutput::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char byte = traits_type::to_char_type(c);
  if (traits_type::eq_int_type(target_->sputc(byte), traits_type::eof())) {
    return traits_type::eof();
  }
  midLine_ = byte != '\n';
  return c;
}

std::streamsize LineTrackingOutput::xsputn(const char* text, std::streamsize count) {
  const std::streamsize written = target_->sputn(text, count);
  if (written > 0) midLine_ = text[written - 1] != '\n';
  return written;
}

int LineTrackingOutput::sync() { return target_->pubsync(); }

void PromptedInput::discard() {
  buffer_.clear();
  setg(nullptr, nullptr, nullptr);
}

PromptedInput::int_type PromptedInput::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  std::string line;
  for (;;) {
    beforePrompt_();
    const LineResult result = lines_.readLine(kProgramInputPrompt, false, line);
    if (result == LineResult::Line) break;
    if (result == LineResult::End) return traits_type::eof();
    // The instruction waits for its word all the same; the interrupt stays
    // asked for, and the run stops once the word is given.
    onInterrupt_();
  }
  buffer_ = line + "\n";
  setg(buffer_.data(), buffer_.data(), buffer_.data() + buffer_.size());
  return traits_type::to_int_type(*gptr());
}
