// The module TarnelIDE: reading a whole text file for the editor, and the
// words its boxes use for a file that cannot be read or written.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "message_boxes.h"
#include "source_text.h"

namespace TarnelIDE {

// Files this large or larger are refused, as the translators refuse them:
// far beyond any program written by hand, and more than a text area holds.
constexpr qint64 kLargestFile = qint64{256} * 1024 * 1024;

// Every byte of the file at path into *bytes. Returns 0, or the errno of
// the failure (EFBIG for a file of kLargestFile bytes or more).
int readFileBytes(const QString& path, QByteArray* bytes);

// "Cannot open PATH:" and the reason in words, for a box.
QString cannotOpenText(const QString& path, int error);

// "Cannot save PATH:" and the reason in words; when the file or its folder
// cannot be written, also how to keep the text all the same.
QString cannotSaveText(const QString& path, int error);

// Every byte of the file at path, decoded (see decodeFileBytes). When the
// file cannot be opened or read, shows a warning box titled with the
// application's name that names the file and the reason, and returns
// nothing.
std::optional<FileText> ReadTextFile(const QString& path, MessageBoxes& boxes);

}  // namespace TarnelIDE
