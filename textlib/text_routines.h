// The plain text routines shared by the three console programs.
//
// They work on NUL-terminated byte strings in buffers the caller supplies.
// Copying routines take the source before the destination (textCopy and
// textAppend excepted: destination first); searches that begin at a position
// take that position first; "not found" is -1. Bytes are compared for
// equality only: no case folding, no locale.
//
// The routines keep their counters in five process-wide working variables
// instead of locals. No result depends on what they held before a call and
// nothing outside this library reads them; they make the routines
// non-reentrant, which suits the single-threaded programs that use them.
//
// Counts and positions that would reach past a terminator are clamped to
// the string, so a caller's slip never reads or writes past a buffer.
#pragma once

extern int textPos;
extern int textLenA;
extern int textLenB;
extern unsigned char textMatched;
extern int textLenC;

int textLength(const char* s);
void textCopy(char* dst, const char* src);
void textAppend(char* dst, const char* src);
// The first n bytes of src.
void textLeft(const char* src, char* dst, int n);
// src from position start to its end; empty when start is at or past the end.
void textFrom(const char* src, char* dst, int start);
// Positions start up to but not including stop; empty when stop <= start.
void textRange(const char* src, char* dst, int start, int stop);
// count bytes beginning at position start.
void textMid(const char* src, char* dst, int start, int count);
bool textEquals(const char* a, const char* b);
// src without its space bytes (0x20); tabs and all other bytes stay.
void textStripBlanks(const char* src, char* dst);
// Bytes of s equal to ch; quotes play no part.
int textCountChar(const char* s, char ch);

// Lowest position where the whole pattern occurs; an empty pattern is never
// found.
int textFind(const char* text, const char* pattern);
int textFindFrom(int start, const char* text, const char* pattern);
// Lowest position at or after start that lies outside double quotes and
// where the pattern matches. The quote state starts outside at start,
// whatever precedes it. Only the pattern's first byte is tested for the
// quote state, and a pattern that runs past the end of the text counts as
// found when every byte of it within the text matches ('ab' is found at 2 in
// 'xya').
int textFindOutsideQuotes(int start, const char* text, const char* pattern);
// Highest position where the pattern occurs, scanning down from the text's
// length; an empty pattern is found at the length itself.
int textFindLast(const char* text, const char* pattern);
int textFindLastFrom(int start, const char* text, const char* pattern);
