// Where each record of a code table comes from in the bytecode text it was
// loaded from. The loader cuts the code section at commas outside quotes
// and keeps no trace of where a piece stood, so the debugger retraces the
// same cuts: one written entry can make several records (a comma outside
// quotes inside an operand or after a label's colon) or none, and an
// unclosed quote can merge several written entries into one record.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// For every record that Interpreter::loadText makes of text, in record
// order, the byte offset in text where the piece that made it begins. The
// code section, the cuts and the tests of a piece are the loader's own:
// "code{" outside quotes from the start, the first "}" outside quotes after
// it, commas outside quotes (none: no piece at all), and a piece makes a
// record when it holds an "@" outside quotes, or a "!" and after it a ":".
std::vector<std::size_t> recordOrigins(const std::string& text);
