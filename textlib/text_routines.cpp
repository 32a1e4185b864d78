// The plain text routines; see text_routines.h for the contracts.
#include "text_routines.h"

int textPos = 0;
int textLenA = 0;
int textLenB = 0;
unsigned char textMatched = 0;
int textLenC = 0;

namespace {

int clampTo(int value, int low, int high) {
  if (value < low) return low;
  if (value > high) return high;
  return value;
}

// Copies count bytes of src from start into dst and ends dst with a NUL.
void copyBytes(const char* src, char* dst, int start, int count) {
  for (int i = 0; i < count; ++i) dst[i] = src[start + i];
  dst[count] = '\0';
}

// The forward and backward searches share one test: the whole pattern
// stands at p and fits within the text. The text's terminator differs from
// every pattern byte, so only an empty pattern matches at p == length.
bool wholePatternAt(const char* text, int length, const char* pattern, int patternLength, int p) {
  if (text[p] != pattern[0]) return false;
  textMatched = 1;
  for (int j = 0; j < patternLength; ++j) {
    if (p + j >= length || text[p + j] != pattern[j]) {
      textMatched = 0;
      break;
    }
  }
  return textMatched == 1;
}

int found(int p) {
  textPos = p;
  textMatched = 1;
  return p;
}

int searchForward(int start, const char* text, const char* pattern) {
  textLenA = textLength(text);
  textLenC = textLength(pattern);
  for (int p = start < 0 ? 0 : start; p < textLenA; ++p) {
    if (wholePatternAt(text, textLenA, pattern, textLenC, p)) return found(p);
  }
  return -1;
}

int searchBackward(int start, const char* text, const char* pattern) {
  textLenA = textLength(text);
  textLenC = textLength(pattern);
  for (int p = start > textLenA ? textLenA : start; p >= 0; --p) {
    if (wholePatternAt(text, textLenA, pattern, textLenC, p)) return found(p);
  }
  return -1;
}

}  // namespace

int textLength(const char* s) {
  textPos = 0;
  while (s[textPos] != '\0') ++textPos;
  return textPos;
}

void textCopy(char* dst, const char* src) {
  textLenB = textLength(src);
  copyBytes(src, dst, 0, textLenB);
  textPos = textLenB;
}

void textAppend(char* dst, const char* src) {
  textLenA = textLength(dst);
  textLenB = textLength(src);
  copyBytes(src, dst + textLenA, 0, textLenB);
  textPos = textLenB;
}

void textLeft(const char* src, char* dst, int n) {
  int count = clampTo(n, 0, textLength(src));
  copyBytes(src, dst, 0, count);
  textPos = count;
}

void textFrom(const char* src, char* dst, int start) {
  textLenC = textLength(src);
  int from = clampTo(start, 0, textLenC);
  textLenB = textLenC - from;
  copyBytes(src, dst, from, textLenB);
}

void textRange(const char* src, char* dst, int start, int stop) {
  int length = textLength(src);
  int from = clampTo(start, 0, length);
  int to = clampTo(stop, 0, length);
  textLenB = to > from ? to - from : 0;
  copyBytes(src, dst, from, textLenB);
}

void textMid(const char* src, char* dst, int start, int count) {
  int length = textLength(src);
  int from = clampTo(start, 0, length);
  textLenB = clampTo(count, 0, length - from);
  copyBytes(src, dst, from, textLenB);
}

bool textEquals(const char* a, const char* b) {
  textLenC = textLength(a);
  textLenB = textLength(b);
  if (textLenC != textLenB) return false;
  for (textPos = 0; textPos < textLenC; ++textPos) {
    if (a[textPos] != b[textPos]) return false;
  }
  return true;
}

void textStripBlanks(const char* src, char* dst) {
  textLenA = textLength(src);
  textLenB = 0;
  for (textPos = 0; textPos < textLenA; ++textPos) {
    if (src[textPos] != ' ') dst[textLenB++] = src[textPos];
  }
  dst[textLenB] = '\0';
}

int textCountChar(const char* s, char ch) {
  textLenA = textLength(s);
  textLenB = 0;
  for (textPos = 0; textPos < textLenA; ++textPos) {
    if (s[textPos] == ch) ++textLenB;
  }
  return textLenB;
}

int textFind(const char* text, const char* pattern) { return searchForward(0, text, pattern); }

int textFindFrom(int start, const char* text, const char* pattern) {
  return searchForward(start, text, pattern);
}

int textFindOutsideQuotes(int start, const char* text, const char* pattern) {
  textLenA = textLength(text);
  textLenC = textLength(pattern);
  bool outside = true;
  for (int p = start < 0 ? 0 : start; p < textLenA; ++p) {
    if (text[p] == '"') outside = !outside;
    if (!outside || text[p] != pattern[0]) continue;
    // Only the bytes that lie within the text are compared.
    textMatched = 1;
    for (int j = 0; j < textLenC && p + j < textLenA; ++j) {
      if (text[p + j] != pattern[j]) {
        textMatched = 0;
        break;
      }
    }
    if (textMatched == 1) return found(p);
  }
  return -1;
}

int textFindLast(const char* text, const char* pattern) {
  return searchBackward(textLength(text), text, pattern);
}

int textFindLastFrom(int start, const char* text, const char* pattern) {
  return searchBackward(start, text, pattern);
}
