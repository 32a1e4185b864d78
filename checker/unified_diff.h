// The change fixes made to a text, as a unified diff ("diff -u", the form
// patch and code review tools read).
#pragma once

#include <string>
#include <vector>

// The hunks that turn before into after, with three lines of context, under
// the header lines "--- path" and "+++ path"; empty when the two are equal.
// Fixes never remove a line, they change lines and break them, so
// origins[i] names the line of before (from 1) that line i + 1 of after
// stems from, in order; no line need be searched for. Lines are written
// with their own line ends, CR included, and a last line without one is
// followed by "\ No newline at end of file".
std::string unifiedDiff(const std::string& path, const std::string& before,
                        const std::string& after, const std::vector<int>& origins);
