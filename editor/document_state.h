// What the editor knows of its document besides the text itself. Being
// untitled is a state of its own: a document is untitled from the start
// and after New until Open or Save As gives it a file, whatever that
// file's name holds.
#pragma once

#include <QString>

#include "source_text.h"

struct DocumentState {
  QString file;   // the path Save writes; empty while untitled
  FileForm form;  // how the text stands in that file
  // The text came from a file holding NUL bytes, most likely no program
  // text at all, and has not been written back since: Save asks once more
  // before it replaces that file with the text.
  bool readWithNulBytes = false;

  bool isUntitled() const { return file.isEmpty(); }
};
