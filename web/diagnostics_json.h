// The checker's diagnostics as JSON, for the web page: an array with one
// object per diagnostic,
//
//   {"line":3,"column":9,"length":1,"severity":"warning","message":"...",
//    "notes":[{"line":1,"column":1,"length":4,"message":"..."}]}
//
// positions counted from 1 in bytes of the text, as tarnel_check gives
// them; severity is "error", "warning" or "note". Strings carry the bytes
// of the messages as they are, so a UTF-8 source gives UTF-8 JSON; quotes,
// backslashes and control bytes are escaped.
#pragma once

#include <string>
#include <vector>

#include "diagnostic.h"

std::string diagnosticsToJson(const std::vector<Diagnostic>& diagnostics);
