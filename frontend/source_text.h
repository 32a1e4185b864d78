// Normalisation of a whole source text before its blocks are searched.
#pragma once

#include <string>

// Every bare line feed (one not preceded by a carriage return) becomes CR
// LF, so a file written with LF line ends reads like the same file with CR
// LF, whose lines the parsers expect to end in the CR.
void expandBareLineFeeds(std::string& text);

// A to Z become a to z; every other byte stays.
void lowerCaseText(std::string& text);

// Removes every semicolon and what follows it up to, not including, the
// next line feed; quotes do not protect a semicolon. The CR before the line
// feed of a commented line goes with the comment.
void stripComments(std::string& text);
