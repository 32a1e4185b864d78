// The editor window: its menus, keys, status bar and the commands that are
// not file commands.
#include "form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include "debug_commands.h"
#include "debug_panel.h"
#include "diagnostic_marks.h"
#include "find_bar.h"
#include "live_check.h"
#include "quick_fixes.h"
#include "source_highlighter.h"
#include "source_text_edit.h"
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

namespace {

const QString kTitlePrefix = QStringLiteral("Tarnel IDE - ");

// The client area below the menu bar when the window opens.
constexpr int kClientWidthTwips = 8610;
constexpr int kClientHeightTwips = 5775;

// How long a line stays in the status bar.
constexpr int kStatusMilliseconds = 15000;

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

int twipsToPixels(int twips, int dpi) { return (twips * dpi + 720) / 1440; }

Form1::Form1(const QString& editorDirectory, FileDialog& cmd1, ProgramLauncher& launcher,
             MessageBoxes& boxes, QWidget* parent)
    : QMainWindow(parent),
      ui_(new Ui::Form1),
      text1_(nullptr),
      findBar_(nullptr),
      liveCheck_(nullptr),
      files_(nullptr),
      debug_(nullptr),
      quickFixes_(nullptr),
      editorDirectory_(editorDirectory),
      launcher_(launcher),
      boxes_(boxes) {
  ui_->setupUi(this);
  // The design captions "-" mark the two separators; a menu would print a
  // separator's text as a section title, so the running ones carry none.
  ui_->to->setText(QString());
  ui_->test->setText(QString());
  text1_ = ui_->Text1;
  findBar_ = ui_->findBar;
  findBar_->setEdit(text1_);
  text1_->setFont(editorFont());
  text1_->setTabStopDistance(kTabCells *
                             QFontMetricsF(text1_->font()).horizontalAdvance(QChar(' ')));
  text1_->installEventFilter(this);
  new SourceHighlighter(text1_);
  files_ = new FileCommands(text1_, editorDirectory_, cmd1, boxes_, this);
  liveCheck_ = new LiveCheck(
      text1_, [this] { return text(); }, [this] { return document().form; });

  connect(ui_->New, &QAction::triggered, this, [this] { newDocument(); });
  connect(ui_->Open, &QAction::triggered, this, [this] { open(); });
  connect(ui_->Save, &QAction::triggered, this, [this] { save(); });
  connect(ui_->SaveAs, &QAction::triggered, this, [this] { saveAs(); });
  connect(ui_->Exit, &QAction::triggered, this, [this] { exitEditor(); });
  connect(ui_->Default, &QAction::triggered, this, [this] { insertDefaultTemplate(); });
  connect(ui_->Perl, &QAction::triggered, this, [this] { compileToPerl(); });
  connect(ui_->KIV, &QAction::triggered, this, [this] { compileToKiv(); });
  connect(ui_->About, &QAction::triggered, this, [this] { about(); });
  connectEditActions();
  quickFixes_ = new QuickFixes(
      text1_, liveCheck_, [this] { return document().form; }, statusBar(),
      QuickFixActions{ui_->FixAllProblems, ui_->NextProblem, ui_->PreviousProblem}, this);
  connect(quickFixes_, &QuickFixes::statusMessage, this,
          [this](const QString& t) { showStatus(t); });
  connectDebugActions();
  connect(files_, &FileCommands::documentChanged, this, [this] { documentChanged(); });
  connect(files_, &FileCommands::statusMessage, this, [this](const QString& t) { showStatus(t); });
  connect(findBar_, &FindBar::statusMessage, this, [this](const QString& t) { showStatus(t); });

  // Esc in a menu leaves the menu bar highlighted, keeping the keys until
  // a second Esc; once no menu is open any more, that second Esc is given
  // at once, and the keys go back to the text.
  for (QAction* menu : menuBar()->actions()) {
    if (menu->menu() == nullptr) continue;
    connect(menu->menu(), &QMenu::aboutToHide, this,
            [this] { QTimer::singleShot(0, this, [this] { leaveMenuBar(); }); });
  }

  statusBar();
  documentChanged();
  sizeClientArea();
}

Form1::~Form1() { delete ui_; }

void Form1::connectEditActions() {
  // The text area handles these keys itself while it has them; the menu
  // items do the same from anywhere in the window. Those that change the
  // text do nothing while a debugged program holds it.
  ui_->Redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  connect(ui_->Undo, &QAction::triggered, this, [this] {
    if (!text1_->isReadOnly()) text1_->undo();
  });
  connect(ui_->Redo, &QAction::triggered, this, [this] {
    if (!text1_->isReadOnly()) text1_->redo();
  });
  connect(ui_->Cut, &QAction::triggered, this, [this] {
    if (!text1_->isReadOnly()) text1_->cut();
  });
  connect(ui_->Copy, &QAction::triggered, text1_, &QPlainTextEdit::copy);
  connect(ui_->Paste, &QAction::triggered, this, [this] {
    if (!text1_->isReadOnly()) text1_->paste();
  });
  connect(ui_->SelectAll, &QAction::triggered, text1_, &QPlainTextEdit::selectAll);
  connect(ui_->Find, &QAction::triggered, findBar_, &FindBar::showFind);
  connect(ui_->FindNext, &QAction::triggered, findBar_, &FindBar::findNext);
  connect(ui_->FindPrevious, &QAction::triggered, findBar_, &FindBar::findPrevious);
  connect(ui_->Replace, &QAction::triggered, findBar_, &FindBar::showReplace);
  connect(ui_->GoToLine, &QAction::triggered, this, [this] { goToLine(); });

  ui_->Undo->setEnabled(false);
  ui_->Redo->setEnabled(false);
  ui_->Cut->setEnabled(false);
  ui_->Copy->setEnabled(false);
  connect(text1_, &QPlainTextEdit::undoAvailable, ui_->Undo, &QAction::setEnabled);
  connect(text1_, &QPlainTextEdit::redoAvailable, ui_->Redo, &QAction::setEnabled);
  connect(text1_, &QPlainTextEdit::copyAvailable, this,
          [this](bool available) { ui_->Cut->setEnabled(available && !text1_->isReadOnly()); });
  connect(text1_, &QPlainTextEdit::copyAvailable, ui_->Copy, &QAction::setEnabled);
}

void Form1::connectDebugActions() {
  ui_->Step->setShortcuts({QKeySequence(Qt::Key_F10), QKeySequence(Qt::Key_F11)});
  DebugActions actions;
  actions.startOrContinue = ui_->StartOrContinue;
  actions.step = ui_->Step;
  actions.runToCursor = ui_->RunToCursor;
  actions.pause = ui_->Pause;
  actions.stop = ui_->Stop;
  actions.stepBack = ui_->StepBack;
  actions.reverseContinue = ui_->ReverseContinue;
  actions.toggleBreakpoint = ui_->ToggleBreakpoint;
  actions.clearBreakpoints = ui_->ClearBreakpoints;
  // A run is given the bytes Save would write, so that its lines are the
  // file's, as the margin numbers them.
  debug_ = new DebugCommands(
      this, text1_, statusBar(), actions,
      [this] {
        DebugSource source;
        const FileForm form = document().form;
        const QByteArray bytes = bytesForChecking(text(), form);
        source.path = currentFile().toStdString();
        source.bytes.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        source.firstLineNumber = form.firstLineNumber();
        source.encoding = form.encoding;
        return source;
      },
      this);
  ui_->Debug->addSeparator();
  QAction* showPanel = debug_->panel()->toggleViewAction();
  showPanel->setText(QStringLiteral("Debug Panel"));
  ui_->Debug->addAction(showPanel);
  connect(debug_, &DebugCommands::statusMessage, this,
          [this](const QString& text, int timeout) { showStatus(text, timeout); });
  connect(debug_, &DebugCommands::startRefused, this, [this] { liveCheck_->recheck(); });
  connect(debug_, &DebugCommands::textHeld, this, [this](bool held) { holdText(held); });
}

void Form1::holdText(bool held) {
  QTextDocument* document = text1_->document();
  ui_->Undo->setEnabled(!held && document->isUndoAvailable());
  ui_->Redo->setEnabled(!held && document->isRedoAvailable());
  ui_->Cut->setEnabled(!held && text1_->textCursor().hasSelection());
  ui_->Paste->setEnabled(!held);
  ui_->Default->setEnabled(!held);
  ui_->Replace->setEnabled(!held);
  quickFixes_->setTextHeld(held);
}

QString Form1::text() const { return text1_->text(); }

void Form1::setText(const QString& text) {
  text1_->setPlainText(text);
  text1_->document()->setModified(true);
}

void Form1::documentChanged() {
  setWindowTitle(kTitlePrefix + files_->currentFile() +
                 (files_->isModified() ? QStringLiteral("*") : QString()));
  const FileForm form = document().form;
  text1_->setFirstLineNumber(form.firstLineNumber());
  // Messages name line numbers, which the form decides.
  if (form != checkedForm_) {
    checkedForm_ = form;
    liveCheck_->recheck();
  }
}

void Form1::showStatus(const QString& text, int timeout) {
  if (text.isEmpty()) {
    statusBar()->clearMessage();
  } else {
    statusBar()->showMessage(text, timeout < 0 ? kStatusMilliseconds : timeout);
  }
}

void Form1::newDocument() { files_->newDocument(); }

void Form1::open() { files_->open(); }

bool Form1::openFile(const QString& path) { return files_->openFile(path); }

void Form1::startWith(const QString& path) { files_->startWith(path); }

bool Form1::save() { return files_->save(); }

bool Form1::saveAs() { return files_->saveAs(); }

void Form1::exitEditor() { close(); }

void Form1::closeEvent(QCloseEvent* event) {
  if (files_->mayDiscardChanges()) {
    debug_->saveLayout();
    event->accept();
  } else {
    event->ignore();
  }
}

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

void Form1::goToLine() {
  const int first = text1_->firstLineNumber();
  const int last = first + text1_->blockCount() - 1;
  const int current = first + text1_->textCursor().blockNumber();
  int chosen = current;
  if (!boxes_.askNumber(QStringLiteral("Go to Line"),
                        QStringLiteral("Line number (%1 to %2):").arg(first).arg(last), current,
                        first, last, &chosen)) {
    return;
  }
  const QTextBlock block =
      text1_->document()->findBlockByNumber(qBound(first, chosen, last) - first);
  text1_->setTextCursor(QTextCursor(block));
  text1_->centerCursor();
  text1_->setFocus(Qt::OtherFocusReason);
}

void Form1::compileToPerl() { compileWith(QStringLiteral("tarnel_perl")); }

void Form1::compileToKiv() { compileWith(QStringLiteral("tarnel")); }

void Form1::compileWith(const QString& toolName) {
  // A tool started on a file that was not saved would translate old text,
  // or a file that is not there.
  if (!save()) {
    showStatus(document().isUntitled()
                   ? QStringLiteral("Nothing was compiled: the text has no file name yet.")
                   : QStringLiteral("Nothing was compiled: the text was not saved."));
    return;
  }
  const QString problem = startToolInTerminal(launcher_, editorDirectory_, toolName, currentFile());
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

void Form1::leaveMenuBar() {
  if (QApplication::activePopupWidget() != nullptr || menuBar()->activeAction() == nullptr) return;
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(menuBar(), &escape);
  text1_->setFocus(Qt::OtherFocusReason);
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
  // Text1 fills the client area between the menu bar and the status bar
  // while the find bar is closed; only the first size is set here.
  const int width = twipsToPixels(kClientWidthTwips, logicalDpiX());
  const int height = twipsToPixels(kClientHeightTwips, logicalDpiY());
  resize(width, height + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}
