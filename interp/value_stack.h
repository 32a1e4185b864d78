// The running program's stack of texts, last in, first out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ValueStack {
 public:
  // The last element is the top.
  std::vector<std::string> items;
  // Kept equal to the number of items.
  uint32_t depth = 0;

  void push(const std::string& text);
  // The top text, removed; the empty text when the stack is empty, which
  // stays empty.
  std::string pop();
};
