// New, Open, Save, Save As and the question about unsaved changes.
#include "file_commands.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <string>
#include <utility>

#include "output_file.h"
#include "source_text_edit.h"
#include "tarnel_ide.h"

namespace {

const QString kFilePreset = QStringLiteral("*.tarnel");
const char kUntitledName[] = "Untitled.tarnel";

QString applicationName() { return QCoreApplication::applicationName(); }

// The file a save replaces: the target of a symbolic link, so that the
// link stays a link, otherwise path itself.
QString fileBehind(const QString& path) {
  const QFileInfo info(path);
  if (!info.isSymLink()) return path;
  const QString target = info.canonicalFilePath();  // empty while the link dangles
  return target.isEmpty() ? info.symLinkTarget() : target;
}

bool sameFile(const QString& a, const QString& b) {
  const QString canonicalA = QFileInfo(a).canonicalFilePath();
  return canonicalA.isEmpty() ? QDir::cleanPath(a) == QDir::cleanPath(b)
                              : canonicalA == QFileInfo(b).canonicalFilePath();
}

// Whether a save can replace file: the folder must take the new file that
// is renamed over it, and an existing file must allow writing.
bool canReplace(const QString& file) {
  const QFileInfo info(file);
  if (info.exists() && ::access(QFile::encodeName(file).constData(), W_OK) != 0) return false;
  return ::access(QFile::encodeName(info.absolutePath()).constData(), W_OK | X_OK) == 0;
}

}  // namespace

QString withSourceExtension(const QString& path) {
  if (QFileInfo(path).fileName().contains(QChar('.'))) return path;
  return path + QStringLiteral(".tarnel");
}

FileCommands::FileCommands(SourceTextEdit* edit, const QString& editorDirectory, FileDialog& dialog,
                           MessageBoxes& boxes, QObject* parent)
    : QObject(parent),
      edit_(edit),
      editorDirectory_(editorDirectory),
      dialog_(dialog),
      boxes_(boxes) {
  connect(edit_->document(), &QTextDocument::modificationChanged, this,
          [this] { emit documentChanged(); });
}

QString FileCommands::currentFile() const {
  if (!document_.isUntitled()) return document_.file;
  return editorDirectory_ + QChar('/') + QLatin1String(kUntitledName);
}

bool FileCommands::isModified() const { return edit_->document()->isModified(); }

bool FileCommands::newDocument() {
  if (!mayDiscardChanges()) return false;
  document_ = DocumentState();
  edit_->clear();
  edit_->document()->setModified(false);
  emit documentChanged();
  return true;
}

bool FileCommands::open() {
  if (!mayDiscardChanges()) return false;
  const QString chosen = askFileName(false);
  if (chosen.isEmpty()) return false;
  return openFile(chosen);
}

bool FileCommands::openFile(const QString& path) {
  std::optional<FileText> file = TarnelIDE::ReadTextFile(path, boxes_);
  if (!file) return false;
  const bool nulBytes = file->text.contains(QChar(0));
  if (nulBytes &&
      boxes_.ask(QMessageBox::Warning, applicationName(),
                 QStringLiteral("%1 holds NUL bytes, so it is most likely not a program text.\n"
                                "Open it as text all the same?")
                     .arg(path),
                 QMessageBox::Open | QMessageBox::Cancel,
                 QMessageBox::Cancel) != QMessageBox::Open) {
    return false;
  }
  load(path, std::move(*file));
  document_.readWithNulBytes = nulBytes;
  emit documentChanged();
  noteReadOnly(path);
  return true;
}

void FileCommands::startWith(const QString& path) {
  const QFileInfo info(path);
  if (info.exists() || info.isSymLink()) {
    openFile(path);
    return;
  }
  document_ = DocumentState();
  document_.file = path;
  edit_->clear();
  edit_->document()->setModified(false);
  noteFolderOf(path);
  emit documentChanged();
  emit statusMessage(
      QDir(info.absolutePath()).exists()
          ? QStringLiteral("%1 is a new file: Save creates it.").arg(path)
          : QStringLiteral("%1 is a new file, and its folder does not exist yet.").arg(path));
}

void FileCommands::load(const QString& path, FileText file) {
  document_ = DocumentState();
  document_.file = path;
  document_.form.encoding = file.encoding;
  document_.form.leadingLine = hasLeadingLine(file.text);
  edit_->loadText(textForEditor(std::move(file.text)));
  edit_->document()->setModified(false);
  noteFolderOf(path);
}

bool FileCommands::save() {
  if (document_.isUntitled()) return saveAs();
  if (!writeTo(document_.file)) return false;
  document_.form.leadingLine = true;
  document_.readWithNulBytes = false;
  edit_->document()->setModified(false);
  emit documentChanged();
  return true;
}

bool FileCommands::saveAs() {
  const QString chosen = askFileName(true);
  if (chosen.isEmpty()) return false;
  const QString path = withSourceExtension(chosen);
  if (!writeTo(path)) return false;
  document_.file = path;
  document_.form.leadingLine = true;
  document_.readWithNulBytes = false;
  edit_->document()->setModified(false);
  noteFolderOf(path);
  emit documentChanged();
  return true;
}

bool FileCommands::writeTo(const QString& path) {
  if (document_.readWithNulBytes && sameFile(path, document_.file) &&
      boxes_.ask(QMessageBox::Warning, applicationName(),
                 QStringLiteral("%1 held NUL bytes when it was opened. Saving replaces it with "
                                "the text, every line ended by CR LF, so bytes that were no "
                                "text may change.\nSave it all the same?")
                     .arg(path),
                 QMessageBox::Save | QMessageBox::Cancel,
                 QMessageBox::Cancel) != QMessageBox::Save) {
    return false;
  }
  QByteArray bytes;
  QString reason;
  if (!encodeSavedFile(edit_->text(), document_.form.encoding, &bytes, &reason)) {
    boxes_.show(QMessageBox::Warning, applicationName(),
                QStringLiteral("Cannot save %1:\n%2").arg(path, reason));
    return false;
  }
  // A file the user may not write stays as it is, although its folder
  // would let a new file be renamed over it.
  const QString file = fileBehind(path);
  if (QFileInfo::exists(file) && ::access(QFile::encodeName(file).constData(), W_OK) != 0) {
    boxes_.show(QMessageBox::Warning, applicationName(), TarnelIDE::cannotSaveText(path, errno));
    return false;
  }
  // Written beside the file and renamed over it once whole, so a failed
  // save leaves the old file as it was.
  const WriteResult written =
      writeFileAtomically(QFile::encodeName(file).toStdString(),
                          std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (!written.written) {
    boxes_.show(QMessageBox::Warning, applicationName(),
                TarnelIDE::cannotSaveText(path, written.error));
    return false;
  }
  return true;
}

bool FileCommands::mayDiscardChanges() {
  if (!isModified()) return true;
  const QString question =
      document_.isUntitled()
          ? QStringLiteral("The untitled text has changes that are not saved.\nSave them?")
          : QStringLiteral("The text of %1 has changes that are not saved.\nSave them?")
                .arg(document_.file);
  switch (boxes_.ask(QMessageBox::Warning, applicationName(), question,
                     QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                     QMessageBox::Save)) {
    case QMessageBox::Save:
      return save();
    case QMessageBox::Discard:
      return true;
    default:
      return false;
  }
}

QString FileCommands::askFileName(bool forSave) {
  dialog_.setFileName(kFilePreset);
  dialog_.setDirectory(dialogDirectory());
  if (forSave) {
    dialog_.showSave();
  } else {
    dialog_.showOpen();
  }
  const QString chosen = dialog_.fileName();
  if (chosen.isEmpty() || chosen == kFilePreset) return QString();
  return chosen;
}

QString FileCommands::dialogDirectory() const {
  if (!document_.isUntitled()) {
    const QString folder = QFileInfo(document_.file).absolutePath();
    if (QDir(folder).exists()) return folder;
  }
  if (!lastFolder_.isEmpty() && QDir(lastFolder_).exists()) return lastFolder_;
  return QDir::homePath();
}

void FileCommands::noteFolderOf(const QString& path) {
  lastFolder_ = QFileInfo(path).absolutePath();
}

void FileCommands::noteReadOnly(const QString& path) {
  if (canReplace(fileBehind(path))) return;
  emit statusMessage(
      QStringLiteral("%1 is read-only here: use Save As to keep your changes in another file.")
          .arg(path));
}
