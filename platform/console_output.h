// Standard output for the console programs, with its failures kept: a
// program that could not write its output (a closed descriptor, a full
// device, a file-size limit) says so at the end and fails, instead of
// ending as if all went well.
#pragma once

#include "checked_output_buffer.h"

// Called first in main. Makes sure descriptors 0, 1 and 2 are open (a
// closed one is pointed at /dev/null, so that no file the program opens
// later can take its place), routes std::cout through a CheckedOutputBuffer
// on descriptor 1, and lets a write beyond a file-size limit fail with an
// error instead of ending the process. A broken pipe keeps its usual effect.
void setUpConsoleOutput();

// Called last in main with the status main would return. Flushes standard
// output; when any of it could not be written, writes
// "PROGRAM: write error: REASON" to standard error and gives failedStatus.
// A broken pipe gives failedStatus without a message, as a reader that went
// away expects.
int finishConsoleOutput(const char* program, int status, int failedStatus = 1);
