// The outer form of a source program: the brace balance and the search for
// the object header, the variable block and the code block.
//
// Each keyword is searched from the start of the normalised text, outside
// double quotes, and its first occurrence counts, also inside a longer word.
// A block runs from just after its "{" to just before the first "}" outside
// quotes that follows; blocks do not nest. Each check reports its own
// structural message through reportError and returns false.
#pragma once

#include <string>

// Where the search found a block's keyword and braces, as offsets into the
// searched text; -1 for what was not found or not searched for.
struct BlockOffsets {
  long keyword = -1;
  long open = -1;
  long close = -1;  // the object block's own closing brace is never searched
};

// False (" { } blocks missalligned") when the counts of "{" and "}" in the
// whole text differ; quotes are not considered.
bool checkBraceBalance(const std::string& text);

// The object name between the end of the "kiv" at keyword and the brace at
// brace, with every blank removed; tabs, CR and LF stay.
std::string objectName(const std::string& text, long keyword, long brace);

// False ("invalid object name NAME") when name holds a "/": the output file
// is named after the object and must land in the programs' own folder, not
// wherever a path in the name points.
bool checkObjectName(const std::string& name);

// "kiv" and the "{" after it; fills name with objectName.
bool findObjectBlock(const std::string& text, std::string& name, BlockOffsets& found);

// "var", the "{" after it and the "}" after that; fills block with the text
// between the braces.
bool findVariableBlock(const std::string& text, std::string& block, BlockOffsets& found);

// "begin", the "{" after it and the "}" after that; fills block likewise.
bool findCodeBlock(const std::string& text, std::string& block, BlockOffsets& found);
