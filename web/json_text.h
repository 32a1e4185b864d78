// JSON texts for the page: a string carries the bytes it is given as they
// are (so the page reads them as the bytes of its file), with quotes,
// backslashes and control bytes escaped.
#pragma once

#include <string>

void appendJsonString(std::string& out, const std::string& text);
