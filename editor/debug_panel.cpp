// The debug dock's views; see debug_panel.h.
#include "debug_panel.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTextCursor>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "debug_controller.h"
#include "debug_session.h"
#include "step_effect.h"

namespace {

const QColor kChangedBackground(0xFF, 0xE0, 0x9A);

// A caption over a view, the two as one pane of the splitter.
QWidget* pane(const QString& caption, QWidget* view, QWidget* below = nullptr) {
  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  auto* label = new QLabel(caption);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  label->setBuddy(view);
  layout->addWidget(label);
  layout->addWidget(view, 1);
  if (below != nullptr) layout->addWidget(below);
  return box;
}

QTreeWidget* table(const QStringList& headers) {
  auto* tree = new QTreeWidget;
  tree->setColumnCount(static_cast<int>(headers.size()));
  tree->setHeaderLabels(headers);
  tree->setRootIsDecorated(false);
  tree->setUniformRowHeights(true);
  tree->setSelectionMode(QAbstractItemView::SingleSelection);
  tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tree->header()->setStretchLastSection(true);
  tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  return tree;
}

}  // namespace

DebugPanel::DebugPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("Debug"), parent),
      variables_(table({QStringLiteral("Name"), QStringLiteral("Type"), QStringLiteral("Value")})),
      stack_(new QListWidget),
      flags_(table({QStringLiteral("Flag"), QStringLiteral("Set"), QStringLiteral("Jumps")})),
      output_(new QPlainTextEdit),
      input_(new QLineEdit),
      queue_(new QLabel),
      decoder_(QStringDecoder::Utf8) {
  setObjectName(QStringLiteral("debugPanel"));
  variables_->setObjectName(QStringLiteral("variablesView"));
  stack_->setObjectName(QStringLiteral("stackView"));
  flags_->setObjectName(QStringLiteral("flagsView"));
  output_->setObjectName(QStringLiteral("outputView"));
  input_->setObjectName(QStringLiteral("inputField"));
  queue_->setObjectName(QStringLiteral("queueLabel"));

  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  variables_->setFont(fixed);
  stack_->setFont(fixed);
  output_->setFont(fixed);
  input_->setFont(fixed);
  output_->setReadOnly(true);
  output_->setUndoRedoEnabled(false);
  input_->setPlaceholderText(QStringLiteral("the program's input: type, then Enter"));
  input_->setToolTip(
      QStringLiteral("Words typed here are queued for the program's input statements.\n"
                     "Enter queues the line; Ctrl+D ends the input."));
  input_->installEventFilter(this);
  queue_->setTextFormat(Qt::PlainText);
  queue_->setWordWrap(true);
  connect(input_, &QLineEdit::returnPressed, this, [this] {
    const QString line = input_->text();
    input_->clear();
    emit inputEntered(line);
  });

  auto* inputRow = new QWidget;
  auto* inputLayout = new QVBoxLayout(inputRow);
  inputLayout->setContentsMargins(0, 0, 0, 0);
  inputLayout->setSpacing(2);
  auto* inputCaption = new QLabel(QStringLiteral("Input"));
  inputCaption->setBuddy(input_);
  QFont bold = inputCaption->font();
  bold.setBold(true);
  inputCaption->setFont(bold);
  inputLayout->addWidget(inputCaption);
  inputLayout->addWidget(input_);
  inputLayout->addWidget(queue_);

  // Variables | Stack over Flags | Output and Input.
  auto* middle = new QSplitter(Qt::Vertical);
  middle->addWidget(pane(QStringLiteral("Stack"), stack_));
  middle->addWidget(pane(QStringLiteral("Flags"), flags_));
  middle->setChildrenCollapsible(false);
  middle->setStretchFactor(0, 1);
  middle->setStretchFactor(1, 0);
  auto* splitter = new QSplitter(Qt::Horizontal);
  splitter->addWidget(pane(QStringLiteral("Variables"), variables_));
  splitter->addWidget(middle);
  splitter->addWidget(pane(QStringLiteral("Output"), output_, inputRow));
  splitter->setStretchFactor(0, 3);
  splitter->setStretchFactor(1, 2);
  splitter->setStretchFactor(2, 4);
  splitter->setChildrenCollapsible(false);
  setWidget(splitter);
  setInputEnabled(false);
  clearState();
  // All six flags in view at once.
  flags_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  flags_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  flags_->setMinimumHeight(flags_->header()->sizeHint().height() + 6 * flags_->sizeHintForRow(0) +
                           2 * flags_->frameWidth());
}

void DebugPanel::beginRun() {
  shownValues_.clear();
  haveShownValues_ = false;
}

void DebugPanel::showState(const DebugSession& session) {
  const std::vector<VariableView> variables = session.variables();
  variables_->clear();
  QList<QTreeWidgetItem*> rows;
  std::vector<std::string> values;
  values.reserve(variables.size());
  for (const VariableView& variable : variables) {
    const std::size_t index = static_cast<std::size_t>(variable.index);
    const bool changed =
        haveShownValues_ && index < shownValues_.size() && shownValues_[index] != variable.stored;
    auto* row = new QTreeWidgetItem(
        QStringList{QString::fromStdString(visibleText(variable.name)),
                    QString::fromLatin1(variableTypeName(variable.type)),
                    encoding_ == TextEncoding::Latin1
                        ? QString::fromLatin1(shownValue(variable.value, variable.type))
                        : QString::fromStdString(shownValue(variable.value, variable.type))});
    if (changed) {
      for (int column = 0; column < 3; ++column) {
        QFont font = row->font(column);
        font.setBold(true);
        row->setFont(column, font);
        row->setBackground(column, kChangedBackground);
        row->setToolTip(column, QStringLiteral("changed since the run last stood still"));
      }
    }
    rows.append(row);
    if (values.size() <= index) values.resize(index + 1);
    values[index] = variable.stored;
  }
  variables_->addTopLevelItems(rows);
  shownValues_ = std::move(values);
  haveShownValues_ = true;

  stack_->clear();
  for (const std::string& value : session.stack()) {
    stack_->addItem(encoding_ == TextEncoding::Latin1 ? QString::fromLatin1(shownValue(value))
                                                      : QString::fromStdString(shownValue(value)));
  }

  const CompareFlags flags = session.flags();
  const bool compared = session.compared();
  struct Row {
    const char* name;
    bool set;
    const char* jump;
  };
  const Row table[] = {
      {"equal", flags.equal, "je"},     {"notEqual", flags.notEqual, "jne"},
      {"greater", flags.greater, "jg"}, {"greaterOrEqual", flags.greaterOrEqual, "jge"},
      {"less", flags.less, "jl"},       {"lessOrEqual", flags.lessOrEqual, "jle"}};
  for (int i = 0; i < 6; ++i) {
    QTreeWidgetItem* row = flags_->topLevelItem(i);
    row->setText(1, !compared      ? QStringLiteral("-")
                    : table[i].set ? QStringLiteral("yes")
                                   : QStringLiteral("no"));
    row->setText(2, compared && table[i].set ? QString::fromLatin1(table[i].jump) : QString());
  }
  flags_->setToolTip(compared ? QString() : QStringLiteral("no cmp has run yet"));
}

void DebugPanel::clearState() {
  variables_->clear();
  stack_->clear();
  if (flags_->topLevelItemCount() == 0) {
    for (const char* name :
         {"equal", "notEqual", "greater", "greaterOrEqual", "less", "lessOrEqual"}) {
      flags_->addTopLevelItem(new QTreeWidgetItem(QStringList{QString::fromLatin1(name)}));
    }
  }
  for (int i = 0; i < flags_->topLevelItemCount(); ++i) {
    flags_->topLevelItem(i)->setText(1, QString());
    flags_->topLevelItem(i)->setText(2, QString());
  }
  showQueuedInput(std::string());
}

QString DebugPanel::decoded(const char* bytes, std::size_t size) {
  if (encoding_ == TextEncoding::Latin1) {
    return QString::fromLatin1(bytes, static_cast<qsizetype>(size));
  }
  return decoder_.decode(QByteArrayView(bytes, static_cast<qsizetype>(size)));
}

void DebugPanel::showOutputAnew(const DebugController& controller) {
  const std::string& kept = controller.output();
  std::size_t from = kept.size() > kShownOutputBytes ? kept.size() - kShownOutputBytes : 0;
  // Not in the middle of a character's bytes.
  if (encoding_ != TextEncoding::Latin1) {
    while (from < kept.size() && from > 0 &&
           (static_cast<unsigned char>(kept[from]) & 0xC0) == 0x80) {
      ++from;
    }
  }
  decoder_ = QStringDecoder(QStringDecoder::Utf8);
  output_->setPlainText(decoded(kept.data() + from, kept.size() - from));
  shownEnd_ = controller.outputStart() + kept.size();
  shownCuts_ = controller.outputCuts();
}

void DebugPanel::showOutput(const DebugController& controller) {
  const std::string& kept = controller.output();
  const uint64_t start = controller.outputStart();
  const uint64_t end = start + kept.size();
  if (shownCuts_ != controller.outputCuts() || shownEnd_ < start ||
      end - shownEnd_ > kShownOutputBytes) {
    showOutputAnew(controller);
  } else if (end > shownEnd_) {
    const std::size_t from = static_cast<std::size_t>(shownEnd_ - start);
    QTextCursor cursor(output_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(decoded(kept.data() + from, kept.size() - from));
    shownEnd_ = end;
    if (output_->document()->characterCount() > 2 * kShownOutputBytes) {
      showOutputAnew(controller);
    }
  } else {
    return;
  }
  output_->verticalScrollBar()->setValue(output_->verticalScrollBar()->maximum());
}

void DebugPanel::showQueuedInput(const std::string& pending) {
  // Line ends as blanks: the queue is words.
  const QString words = (encoding_ == TextEncoding::Latin1 ? QString::fromLatin1(pending)
                                                           : QString::fromStdString(pending))
                            .simplified();
  queue_->setText(QStringLiteral("Queued: ") +
                  (words.isEmpty() ? QStringLiteral("nothing") : words));
}

void DebugPanel::focusInput() {
  if (isHidden()) show();
  raise();
  input_->setFocus(Qt::OtherFocusReason);
}

void DebugPanel::setInputEnabled(bool enabled) { input_->setEnabled(enabled); }

bool DebugPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == input_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier) {
      emit inputEnded();
      return true;
    }
  }
  return QDockWidget::eventFilter(watched, event);
}
