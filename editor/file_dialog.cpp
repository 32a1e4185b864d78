// The real file dialog.
#include "file_dialog.h"

#include <QFileDialog>
#include <QStringList>

void QtFileDialog::showOpen() { show(false); }

void QtFileDialog::showSave() { show(true); }

void QtFileDialog::show(bool save) {
  QFileDialog dialog(parent_);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!directory_.isEmpty()) dialog.setDirectory(directory_);
  if (save) dialog.setDefaultSuffix(QStringLiteral("tarnel"));
  dialog.setNameFilters(
      {QStringLiteral("Tarnel source files (*.tarnel)"), QStringLiteral("All files (*)")});
  // A wildcard in the name box acts as a filter, so the preset "*.tarnel"
  // lists the source files and is never returned as a choice.
  dialog.selectFile(fileName_);
  if (dialog.exec() != QDialog::Accepted) return;
  const QStringList chosen = dialog.selectedFiles();
  if (!chosen.isEmpty()) fileName_ = chosen.first();
}
