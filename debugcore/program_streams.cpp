// The program's console in the debugging core; see program_streams.h.
#include "program_streams.h"

#include <algorithm>

bool isInputSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

InputQueue::InputQueue() { setArea(0); }

void InputQueue::setArea(std::size_t read) {
  char* begin = text_.data();
  setg(begin, begin + read, begin + text_.size());
}

void InputQueue::feed(std::string_view text) {
  if (ended_) return;
  // Appending may move the text; the area follows it.
  const std::size_t read = readNow();
  text_.append(text.data(), text.size());
  setArea(read);
}

bool InputQueue::hasWord() const {
  const char* at = gptr();
  const char* end = egptr();
  while (at < end && isInputSpace(*at)) ++at;
  if (at == end) return false;
  while (at < end && !isInputSpace(*at)) ++at;
  return at < end || ended_;
}

uint64_t InputQueue::offset() const { return readNow(); }

void InputQueue::rewind(uint64_t offset) {
  setArea(static_cast<std::size_t>(std::min<uint64_t>(offset, readNow())));
}

std::string InputQueue::pending() const { return std::string(gptr(), egptr()); }

void InputQueue::clear() {
  text_.clear();
  ended_ = false;
  setArea(0);
}

InputQueue::int_type InputQueue::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  return traits_type::eof();
}

std::string OutputRecord::take() {
  std::string taken;
  taken.swap(pending_);
  return taken;
}

void OutputRecord::cutTo(uint64_t length) {
  if (length >= length_) return;
  const uint64_t cut = length_ - length;
  pending_.resize(cut >= pending_.size() ? 0 : pending_.size() - static_cast<std::size_t>(cut));
  length_ = length;
}

void OutputRecord::clear() {
  pending_.clear();
  length_ = 0;
}

OutputRecord::int_type OutputRecord::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  pending_ += traits_type::to_char_type(c);
  ++length_;
  return c;
}

std::streamsize OutputRecord::xsputn(const char* text, std::streamsize count) {
  if (count <= 0) return 0;
  pending_.append(text, static_cast<std::size_t>(count));
  length_ += static_cast<uint64_t>(count);
  return count;
}
