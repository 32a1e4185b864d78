// The editor window and its commands.
#include "form1.h"

#include <QAction>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTextDocument>

#include "source_highlighter.h"
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

}  // namespace

bool isUntitled(const QString& currentFile) {
  return currentFile.contains(QLatin1String(kUntitledName), Qt::CaseSensitive);
}

int twipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

Form1::Form1(const QString& editorDirectory, FileDialog& cmd1, ProgramLauncher& launcher,
             MessageBoxes& boxes, QWidget* parent)
    : QMainWindow(parent),
      ui_(new Ui::Form1),
      text1_(nullptr),
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
  new SourceHighlighter(text1_->document());

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

QString Form1::askFileName(bool forSave) {
  cmd1_.setFileName(kFilePreset);
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
  currentFile_ = chosen;
  const FileText file = TarnelIDE::ReadTextFile(currentFile_, boxes_);
  setCurrentFile(chosen);
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
    setCurrentFile(chosen);
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

void Form1::insertDefaultTemplate() { setText(QString::fromLatin1(kDefaultProgramTemplate)); }

void Form1::compileToPerl() { compileWith(QStringLiteral("tarnel_perl")); }

void Form1::compileToKiv() { compileWith(QStringLiteral("tarnel")); }

void Form1::compileWith(const QString& toolName) {
  // A tool started on a file that failed to save would translate old text.
  if (!save()) return;
  const QString tool = editorDirectory_ + QChar('/') + toolName;
  const QString problem = startToolInTerminal(launcher_, tool, currentFile_);
  if (!problem.isEmpty()) {
    boxes_.show(QMessageBox::Critical, QCoreApplication::applicationName(), problem);
  }
}

void Form1::about() {
  boxes_.show(QMessageBox::Information, QCoreApplication::applicationName(),
              QStringLiteral("Application written by Vennick"));
}

void Form1::sizeClientArea() {
  // Text1 is the central widget, so it fills the client area below the menu
  // bar at every size; only the first size is set here.
  const int width = twipsToPixels(kClientWidthTwips, logicalDpiX());
  const int height = twipsToPixels(kClientHeightTwips, logicalDpiY());
  resize(width, height + menuBar()->sizeHint().height());
}
