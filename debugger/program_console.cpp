// The program's console in kivdebug; see program_console.h.
#include "program_console.h"

#include <istream>
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

ProgramInput::Result StreamInput::more(std::string& text) {
  if (!std::getline(in_, text)) return Result::End;
  // The last line may end without a line feed.
  if (!in_.eof()) text += '\n';
  return Result::Text;
}

ProgramInput::Result PromptedLines::more(std::string& text) {
  beforePrompt_();
  switch (lines_.readLine(kProgramInputPrompt, false, text)) {
    case LineResult::Line:
      text += '\n';
      return Result::Text;
    case LineResult::End:
      return Result::End;
    case LineResult::Interrupted:
      break;
  }
  return Result::Interrupted;
}
