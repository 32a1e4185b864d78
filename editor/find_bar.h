// FindBar, the strip below the text for Find (Ctrl+F) and Replace
// (Ctrl+H): a field for the text to find, Previous and Next, Match case,
// and a second row for the replacement. Searches go on from the other end
// of the text when they reach one, and say so in the status bar; Esc
// closes the bar and gives the keys back to the text.
#pragma once

#include <QString>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

class FindBar : public QWidget {
  Q_OBJECT

 public:
  explicit FindBar(QWidget* parent = nullptr);

  // The text area searched; it must outlive the bar.
  void setEdit(QPlainTextEdit* edit);

  // Shows the bar (with the replace row for showReplace), the text
  // selected on one line taken as the text to find, and puts the keys in
  // the find field with its text selected.
  void showFind();
  void showReplace();
  // Closes the bar and gives the keys back to the text.
  void close();

  // Select the next match after the selection or cursor, or the previous
  // one before it; false when there is none. Without a text to find they
  // show the bar instead.
  bool findNext();
  bool findPrevious();
  // Replaces the selected match, if the selection is one, then selects
  // the next match. Neither replaces in a read-only text.
  bool replace();
  // Replaces every match, as one edit that one Undo takes back; the count.
  int replaceAll();

  QLineEdit* findField() const { return findField_; }
  QLineEdit* replaceField() const { return replaceField_; }
  QCheckBox* matchCase() const { return matchCase_; }

 signals:
  void statusMessage(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool find(bool backward);
  bool selectionIsMatch() const;
  void showBar(bool withReplace);
  void markNotFound(bool notFound);
  // Says that a read-only text is not changed; false.
  bool refuseReadOnly();

  QPlainTextEdit* edit_ = nullptr;
  QLineEdit* findField_;
  QLineEdit* replaceField_;
  QCheckBox* matchCase_;
  QWidget* replaceRow_;
  QLabel* replaceLabel_;
};
