// Reading a source file whole. The file is only read, never opened for
// update, so a read-only source is accepted.
#pragma once

#include <string>

// The number of bytes in the file, or -1 when it cannot be opened.
long fileSize(const std::string& path);

// Replaces text by the file's bytes up to its first NUL byte (a NUL ends
// the text for every later step), with bare line feeds made CR LF. False
// when the file cannot be read; text is then empty.
bool readWholeFile(const std::string& path, std::string& text);
