// The run-time stack.
#include "value_stack.h"

#include <utility>

void ValueStack::push(const std::string& text) {
  items.push_back(text);
  depth = static_cast<uint32_t>(items.size());
}

std::string ValueStack::pop() {
  if (items.empty()) return std::string();
  std::string top = std::move(items.back());
  items.pop_back();
  depth = static_cast<uint32_t>(items.size());
  return top;
}
