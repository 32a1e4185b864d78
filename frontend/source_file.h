// Reading a source file whole. The file is opened once, only for reading,
// and read in one pass, so a read-only source, a pipe or a named FIFO is
// accepted like any other file.
#pragma once

#include <string>

#include "input_file.h"

// Reads the source file named on a translator's command line. When it cannot
// be opened, writes "file PATH not found .. "; when it is too large, "file
// PATH too large (256 MiB or more) .. "; each as one console line, and gives
// false. A file that opened but could not be read gives true with the status
// ReadFailed, which the front end reports as a counted error.
bool readSourceFile(const std::string& path, InputFile& source);

// The bytes of a source file as the front end reads them: cut at the first
// NUL byte (a NUL ends the text for every later step), with bare line feeds
// made CR LF.
void prepareSourceText(std::string& text);

// Replaces text by the prepared bytes of the file at path; false when the
// file cannot be read whole (text is then empty).
bool readWholeFile(const std::string& path, std::string& text);
