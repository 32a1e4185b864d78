// The blocks a writer meant, read from a program's braces and block
// keywords where tarnel's search goes wrong: which brace lacks a partner
// and where the missing one belongs, and the repairs of the text that let
// the checker read on after a brace or block error.
#pragma once

#include <string>
#include <vector>

#include "check_context.h"

// True when an odd number of double quotes stands before column (from 1)
// in line: the byte there is inside a text written on that line.
bool insideQuotes(const std::string& line, int column);

// A byte of a name or of a declaration keyword.
bool isNameByte(char c);

// The first keyword the writer meant as the block's own: a word of its
// own, outside any text written on its line, and for var and begin with
// the block's "{" as the next byte that is not white space. -1 if none.
long meantKeyword(const CheckContext& context, const std::string& keyword, bool braceFollows);

// The braces to blame when the counts differ, by their pairs alone.
// Braces written between double quotes count for tarnel too, but a writer
// balances the others: when those balance, the quoted braces of the kind
// in excess are to blame; otherwise the unpartnered ones among them.
std::vector<long> unpartneredBraces(const CheckContext& context, bool& moreOpening);

enum class BraceFault {
  UnclosedVariables,  // the var block's "{" has no "}" before the next block
  UnclosedCode,       // likewise the begin block's
  UnclosedObject,     // the header's "{" has no "}" at the end of the program
  ExtraClosing,       // a "}" that closes no block
  ExtraOpening,       // a "{" that opens no block
  HeaderWithoutBrace  // "kiv name" with no "{" before the first block
};

struct BlockFault {
  BraceFault kind = BraceFault::ExtraClosing;
  long offset = -1;  // the brace, or the header's "kiv", in the normalised text
  // Unclosed blocks: the line before which the missing "}" belongs; 0 for
  // the end of the text.
  int closeBeforeLine = 0;
};

// The faults that unbalance the braces outside double quotes, read with
// the blocks in mind: a block's "{" left open when the next block begins,
// a "}" with nothing open. Empty when the braces outside quotes balance, or
// when putting the faults right would not balance the text.
std::vector<BlockFault> braceFaults(const CheckContext& context);

// The offset of the double quote that, opened after offset and never
// closed, hides every later "}" from the block search: the last one opened
// on the first line whose quotes do not pair up, where a writer left it
// open; -1 when the quotes after offset pair up.
long unclosedQuoteAfter(const CheckContext& context, long offset);

// A change to a text that lets the front end find its blocks.
struct Repair {
  enum Kind {
    InsertLine,    // text as a line of its own before line (lineCount + 1: at the end)
    BlankByte,     // the byte at line, column becomes a blank
    AppendToLine,  // text after the line's last byte before its comment
  };
  Kind kind = InsertLine;
  int line = 0;
  int column = 0;
  std::string text;
  // AppendToLine on a statement line with a comment: a blank goes after
  // text, since the comment takes the line's CR with it and the statement
  // parser drops the line's last byte.
  bool statementLine = false;
};

// The repairs that answer the structural error at which tarnel stopped on
// the context's text. False when the checker cannot tell what was meant.
bool planRepairs(const CheckContext& context, std::vector<Repair>& repairs);
