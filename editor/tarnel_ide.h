// The module TarnelIDE: reading a whole text file for the editor.
#pragma once

#include <QString>

#include "message_boxes.h"
#include "source_text.h"

namespace TarnelIDE {

// Every byte of the file at path, decoded (see decodeFileBytes). When the
// file cannot be opened or read, shows a box with the system's description
// of the error, the exclamation icon and the title "N - APP" (N the system
// error number in decimal, APP the application's name), and returns the
// empty text in UTF-8.
FileText ReadTextFile(const QString& path, MessageBoxes& boxes);

}  // namespace TarnelIDE
