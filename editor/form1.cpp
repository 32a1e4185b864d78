// The editor window and its commands.
#include "form1.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>

#include "live_check.h"
#include "source_highlighter.h"
#include "source_text_edit.h"
#include "tarnel_ide.h"
#include "ui_Form1.h"

const char kDefaultProgramTemplate[] =
    "kiv object {\n"
    "\n"
    "var {\n"
    "\n"
    "}\n"
    "\n"
    "begin {\n"
    "\n"
    "}\n"
    "\n"
    "}\n";

const char kUntitledName[] = "Untitled.tarnel";

namespace {

const QString kFilePreset = QStringLiteral("*.tarnel");
const QString kTitlePrefix = QStringLiteral("Tarnel IDE - ");

// The client area below the menu bar when the window opens.
constexpr int kClientWidthTwips = 8610;
constexpr int kClientHeightTwips = 5775;

QFont editorFont() {
  const QString family = QStringLiteral("Fixedsys");
  QFont font = QFontDatabase::hasFamily(family)
                   ? QFont(family)
                   : QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(9);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  return font;
}

// Tab stops every 8 character cells of the text font, as in a terminal.
constexpr int kTabCells = 8;

bool isAltLetter(const QKeyEvent& key) {
  const Qt::KeyboardModifiers modifiers = key.modifiers();
  return (modifiers & Qt::AltModifier) && !(modifiers & (Qt::ControlModifier | Qt::MetaModifier)) &&
         key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z;
}

}  // namespace

bool isUntitled(const QString& currentFile) {
  return currentFile.contains(QLatin1String(kUntitledName), Qt::CaseSensitive);
}

int twipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

QString withSourceExtension(const QString& path) {
  if (QFileInfo(path).fileName().contains(QChar('.'))) return path;
  return path + QStringLiteral(".tarnel");
}

Form1::Form1(const QString& editorDirectory, FileDialog& cmd1, ProgramLauncher& launcher,
             MessageBoxes& boxes, QWidget* parent)
    : QMainWindow(parent),
      ui_(new Ui::Form1),
      text1_(nullptr),
      liveCheck_(nullptr),
      editorDirectory_(editorDirectory),
      cmd1_(cmd1),
      launcher_(launcher),
      boxes_(boxes) {
  ui_->setupUi(this);
  // The design captions "-" mark the two separators; a menu would print a
  // separator's text as a section title, so the running ones carry none.
  ui_->to->setText(QString());
  ui_->test->setText(QString());
  text1_ = ui_->Text1;
  text1_->setFont(editorFont());
  text1_->setTabStopDistance(kTabCells *
                             QFontMetricsF(text1_->font()).horizontalAdvance(QChar(' ')));
  text1_->installEventFilter(this);
  new SourceHighlighter(text1_->document());
  liveCheck_ = new LiveCheck(
      text1_, [this] { return text(); }, [this] { return encoding_; });

  connect(ui_->New, &QAction::triggered, this, [this] { newDocument(); });
  connect(ui_->Open, &QAction::triggered, this, [this] { open(); });
  connect(ui_->Save, &QAction::triggered, this, [this] { save(); });
  connect(ui_->SaveAs, &QAction::triggered, this, [this] { saveAs(); });
  connect(ui_->Exit, &QAction::triggered, this, [this] { exitEditor(); });
  connect(ui_->Default, &QAction::triggered, this, [this] { insertDefaultTemplate(); });
  connect(ui_->Perl, &QAction::triggered, this, [this] { compileToPerl(); });
  connect(ui_->KIV, &QAction::triggered, this, [this] { compileToKiv(); });
  connect(ui_->About, &QAction::triggered, this, [this] { about(); });

  setCurrentFile(untitledPath());
  sizeClientArea();
}

Form1::~Form1() { delete ui_; }

QString Form1::text() const {
  // The raw text keeps no-break spaces that toPlainText would turn into
  // blanks; only the paragraph separators become line ends.
  QString raw = text1_->document()->toRawText();
  raw.replace(QChar::ParagraphSeparator, QChar('\n'));
  return raw;
}

void Form1::setText(const QString& text) { text1_->setPlainText(text); }

QString Form1::untitledPath() const {
  return editorDirectory_ + QChar('/') + QLatin1String(kUntitledName);
}

void Form1::setCurrentFile(const QString& path) {
  currentFile_ = path;
  setWindowTitle(kTitlePrefix + currentFile_);
}

QString Form1::dialogDirectory() const {
  if (isUntitled(currentFile_) && !launcher_.canWriteIn(editorDirectory_)) {
    return QDir::currentPath();
  }
  return QFileInfo(currentFile_).absolutePath();
}

QString Form1::askFileName(bool forSave) {
  cmd1_.setFileName(kFilePreset);
  cmd1_.setDirectory(dialogDirectory());
  if (forSave) {
    cmd1_.showSave();
  } else {
    cmd1_.showOpen();
  }
  const QString chosen = cmd1_.fileName();
  if (chosen.isEmpty() || chosen == kFilePreset) return QString();
  return chosen;
}

void Form1::newDocument() {
  setCurrentFile(untitledPath());
  text1_->clear();
  encoding_ = TextEncoding::Utf8;
}

void Form1::open() {
  const QString chosen = askFileName(false);
  if (chosen.isEmpty()) return;
  openFile(chosen);
}

void Form1::openFile(const QString& path) {
  currentFile_ = path;
  const FileText file = TarnelIDE::ReadTextFile(currentFile_, boxes_);
  setCurrentFile(path);
  encoding_ = file.encoding;
  setText(textForEditor(file.text));
}

bool Form1::save() {
  if (isUntitled(currentFile_)) return saveAs();
  return writeCurrentFile();
}

bool Form1::saveAs() {
  // A chosen name that is itself untitled brings the dialog up again, until
  // the user picks another name or cancels.
  for (;;) {
    const QString chosen = askFileName(true);
    if (chosen.isEmpty()) return true;
    setCurrentFile(withSourceExtension(chosen));
    if (!isUntitled(currentFile_)) return writeCurrentFile();
  }
}

bool Form1::writeCurrentFile() {
  QByteArray bytes;
  QString reason;
  if (encodeSavedFile(text(), encoding_, &bytes, &reason)) {
    // QSaveFile writes beside the target and renames over it on commit, so
    // a failed write leaves the old file whole.
    QSaveFile file(currentFile_);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
      reason = file.errorString();  // the temporary file is removed with file
    } else {
      return true;
    }
  }
  boxes_.show(QMessageBox::Warning, QCoreApplication::applicationName(),
              QStringLiteral("Cannot save %1:\n%2").arg(currentFile_, reason));
  return false;
}

void Form1::exitEditor() { close(); }

void Form1::insertDefaultTemplate() {
  // One edit block over the whole text, so that a single undo brings the
  // old text back; setPlainText would drop the undo history instead.
  QTextCursor cursor(text1_->document());
  cursor.beginEditBlock();
  cursor.select(QTextCursor::Document);
  cursor.insertText(QString::fromLatin1(kDefaultProgramTemplate));
  cursor.endEditBlock();
  cursor.movePosition(QTextCursor::Start);
  text1_->setTextCursor(cursor);
}

void Form1::compileToPerl() { compileWith(QStringLiteral("tarnel_perl")); }

void Form1::compileToKiv() { compileWith(QStringLiteral("tarnel")); }

void Form1::compileWith(const QString& toolName) {
  // A tool started on a file that failed to save would translate old text.
  if (!save()) return;
  const QString problem = startToolInTerminal(launcher_, editorDirectory_, toolName, currentFile_);
  if (!problem.isEmpty()) {
    boxes_.show(QMessageBox::Critical, QCoreApplication::applicationName(), problem);
  }
}

void Form1::about() {
  boxes_.show(QMessageBox::Information, QCoreApplication::applicationName(),
              QStringLiteral("Application written by Vennick"));
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == text1_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (isAltLetter(*key)) {
      openMenuWithInitial(QChar(QLatin1Char(static_cast<char>('A' + (key->key() - Qt::Key_A)))));
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void Form1::openMenuWithInitial(QChar initial) {
  for (QAction* menu : menuBar()->actions()) {
    if (menu->menu() != nullptr && menu->text().startsWith(initial, Qt::CaseInsensitive)) {
      menuBar()->setActiveAction(menu);
      return;
    }
  }
}

void Form1::sizeClientArea() {
  // Text1 is the central widget, so it fills the client area below the menu
  // bar at every size; only the first size is set here.
  const int width = twipsToPixels(kClientWidthTwips, logicalDpiX());
  const int height = twipsToPixels(kClientHeightTwips, logicalDpiY());
  resize(width, height + menuBar()->sizeHint().height());
}
