// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/program_text_window.h"

#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QVBoxLayout>

#include "assembly/listing.h"
#include "assembly/text_lines.h"
#include "frontend/reading_windows.h"
#include "frontend/readings.h"
#include "i18n/text.h"
#include "qt/qt_text.h"
#include "qt/theme.h"
#include "qt/translated.h"
#include "storage/file_io.h"

namespace volpar::qt {
namespace {

class Margin : public QWidget {
 public:
  explicit Margin(NumberedEditor* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->marginWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->paintMargin(event); }

 private:
  NumberedEditor* editor_;
};

QColor qcolor(frontend::Slot slot) {
  const frontend::Rgb c = drawnTheme()[slot];
  return {c.red, c.green, c.blue};
}

// Labels, mnemonics and comments each in a colour of their own, as the reader finds them,
// from the theme in force.
class Highlighter : public QSyntaxHighlighter {
 public:
  explicit Highlighter(QTextDocument* document) : QSyntaxHighlighter(document) {
    formats_[0].setFontWeight(QFont::Bold);  // label
    formats_[1].setFontWeight(QFont::Bold);  // mnemonic
    formats_[3].setFontItalic(true);         // comment
  }

 protected:
  void highlightBlock(const QString& text) override {
    using frontend::Slot;
    constexpr Slot kColours[] = {Slot::Label, Slot::Mnemonic, Slot::Operand, Slot::Comment};
    for (int i = 0; i < 4; ++i) formats_[i].setForeground(qcolor(kColours[i]));
    const std::string line = text.toStdString();
    for (const assembly::Token& t : assembly::lineTokens(line)) {
      // Columns count the line's bytes; the editor counts characters.
      const int from =
          QString::fromStdString(line.substr(0, static_cast<std::size_t>(t.column - 1))).size();
      const int length = QString::fromStdString(line.substr(static_cast<std::size_t>(t.column - 1),
                                                            static_cast<std::size_t>(t.length)))
                             .size();
      setFormat(from, length, formats_[static_cast<int>(t.kind)]);
    }
  }

 private:
  QTextCharFormat formats_[4];
};

}  // namespace

NumberedEditor::NumberedEditor(QWidget* parent)
    : QPlainTextEdit(parent), margin_(new Margin(this)) {
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  connect(this, &QPlainTextEdit::blockCountChanged, this,
          [this] { setViewportMargins(marginWidth(), 0, 0, 0); });
  connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
    if (dy != 0)
      margin_->scroll(0, dy);
    else
      margin_->update(0, rect.y(), margin_->width(), rect.height());
  });
  setViewportMargins(marginWidth(), 0, 0, 0);
}

int NumberedEditor::marginWidth() const {
  const int digits = QString::number(std::max(1, blockCount())).size();
  return 12 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(2, digits);
}

void NumberedEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect r = contentsRect();
  margin_->setGeometry(QRect(r.left(), r.top(), marginWidth(), r.height()));
}

void NumberedEditor::paintMargin(QPaintEvent* event) {
  QPainter painter(margin_);
  painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
  painter.setPen(palette().color(QPalette::PlaceholderText));
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  while (block.isValid() && top <= event->rect().bottom()) {
    const int height = qRound(blockBoundingRect(block).height());
    if (block.isVisible()) {
      painter.drawText(0, top, margin_->width() - 6, height, Qt::AlignRight,
                       QString::number(block.blockNumber() + 1));
    }
    top += height;
    block = block.next();
  }
}

ProgramTextWindow::ProgramTextWindow(Application& app, EventGate& gate)
    : QWidget(nullptr, Qt::Window),
      app_(app),
      gate_(gate),
      editor_(new NumberedEditor(this)),
      problems_(new QListWidget(this)),
      status_(new QLabel(this)),
      send_(new QPushButton(this)),
      listing_(new QPushButton(this)) {
  setTranslated(*send_, frontend::kSendProgramText);
  setTranslated(*listing_, frontend::kShowListing);
  setTranslatedTitle(*this, frontend::kProgramTextTitle);
  highlighter_ = new Highlighter(editor_->document());
  setTranslatedName(*editor_, i18n::mark("Program text"));
  setTranslatedName(*problems_, i18n::mark("Problems"));
  problems_->setMaximumHeight(110);
  status_->setWordWrap(true);
  auto* openButton = new QPushButton(this);
  setTranslated(*openButton, i18n::mark("&Open..."));
  auto* saveButton = new QPushButton(this);
  setTranslated(*saveButton, i18n::mark("Save &Text..."));
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {send_, listing_, openButton, saveButton}) buttons->addWidget(b);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(editor_, 1);
  layout->addWidget(status_);
  layout->addWidget(problems_);
  layout->addLayout(buttons);
  resize(560, 640);

  connect(editor_, &QPlainTextEdit::textChanged, this, [this] { textEdited(); });
  connect(send_, &QPushButton::clicked, this, [this] { sendToMemory(); });
  connect(listing_, &QPushButton::clicked, this, [this] { showListing(); });
  connect(openButton, &QPushButton::clicked, this, [this] { openDialog(); });
  connect(saveButton, &QPushButton::clicked, this, [this] { saveDialog(); });
  connect(problems_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const int row = problems_->row(item);
    if (row < 0 || row >= static_cast<int>(assembly_.problems.size())) return;
    const assembly::Problem& p = assembly_.problems[static_cast<std::size_t>(row)];
    QTextCursor cursor(editor_->document()->findBlockByNumber(std::max(0, p.line - 1)));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, std::max(0, p.column - 1));
    editor_->setTextCursor(cursor);
    editor_->setFocus();
  });
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close, &QShortcut::activated, this, &QWidget::close);
  connect(&frame_, &QTimer::timeout, this, [this] { refresh(); });
  frame_.setSingleShot(true);
  frame_.setInterval(kRefreshMs);
}

void ProgramTextWindow::open() {
  if (!filled_) showListing();
  show();
  raise();
  activateWindow();
  editor_->setFocus();
  refresh();
}

// A theme switch reaches every window as a new palette: the marks and colours follow it.
void ProgramTextWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::PaletteChange) return;
  highlighter_->rehighlight();
  markText();
}

void ProgramTextWindow::eventFinished() {
  if (isVisible() && !frame_.isActive()) frame_.start();
}

void ProgramTextWindow::refresh() {
  if (gate_.busy()) return;
  const frontend::ProgramTextLink link = frontend::linkProgramText(app_, assembly_);
  status_->setText(text(frontend::programTextStatus(link.state, link.runningLine)));
  send_->setEnabled(link.sendable);
  listing_->setEnabled(link.listable);
  if (link.runningLine != runningLine_) {
    runningLine_ = link.runningLine;
    markText();
  }
}

void ProgramTextWindow::textEdited() {
  filled_ = true;
  assembly_ = assembly::assemble(editor_->toPlainText().toStdString());
  listProblems();
  markText();
  refresh();
}

void ProgramTextWindow::listProblems() {
  problems_->clear();
  for (const assembly::Problem& p : assembly_.problems)
    problems_->addItem(QString::fromStdString(assembly::problemText(p)));
  if (const int more = assembly_.problemsNotListed; more > 0) {
    problems_->addItem(text(i18n::fill(
        i18n::trn("and %1 more problem", "and %1 more problems", more), {std::to_string(more)})));
  }
  problems_->setVisible(problems_->count() > 0);
}

void ProgramTextWindow::languageChanged() {
  listProblems();
  refresh();
}

// The problems underlined where they are, the running line shaded.
void ProgramTextWindow::markText() {
  QList<QTextEdit::ExtraSelection> marks;
  if (runningLine_ > 0) {
    QTextEdit::ExtraSelection running;
    running.cursor = QTextCursor(editor_->document()->findBlockByNumber(runningLine_ - 1));
    running.format.setBackground(qcolor(frontend::Slot::RunningLine));
    running.format.setProperty(QTextFormat::FullWidthSelection, true);
    marks.append(running);
  }
  for (const assembly::Problem& p : assembly_.problems) {
    if (p.line <= 0) continue;
    QTextCursor cursor(editor_->document()->findBlockByNumber(p.line - 1));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, std::max(0, p.column - 1));
    cursor.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    if (!cursor.hasSelection()) cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor);
    QTextEdit::ExtraSelection problem;
    problem.cursor = cursor;
    problem.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    problem.format.setUnderlineColor(qcolor(frontend::Slot::Problem));
    problem.format.setToolTip(QString::fromStdString(p.message));
    marks.append(problem);
  }
  editor_->setExtraSelections(marks);
}

// Over the program this window sent last, no question; over any other unsaved program,
// the question File > Open asks (frontend::sendProgram).
void ProgramTextWindow::sendToMemory() {
  if (!frontend::linkProgramText(app_, assembly_).sendable) return;
  gate_.deliver([this] { frontend::sendProgram(app_, assembly_, sent_); });
  if (frontend::memoryBytes(app_) == assembly_.bytes) sent_ = assembly_.bytes;
  refresh();
}

void ProgramTextWindow::showListing() {
  const std::optional<storage::ByteTexts> now = frontend::memoryBytes(app_);
  storage::ByteTexts zeros;
  zeros.fill("00000000");
  editor_->setPlainText(QString::fromStdString(assembly::listing(now ? *now : zeros)));
}

bool ProgramTextWindow::loadFile(const std::string& path) {
  const storage::FileContents file = storage::readWholeFile(path, storage::kMaxProgramFileBytes);
  std::string problem = file.problem;
  if (file.status == storage::FileContents::Status::Read) {
    if (assembly::isProgramText(file.bytes)) {
      editor_->setPlainText(QString::fromStdString(file.bytes));
      return true;
    }
    const storage::ParsedProgram program = storage::parseProgram(file.bytes);
    if (program.bytes) {
      editor_->setPlainText(QString::fromStdString(assembly::listing(*program.bytes)));
      return true;
    }
    problem = program.problem;
  }
  QMessageBox::warning(this, qt::tr(frontend::kProgramTextTitle),
                       QString::fromStdString(storage::loadFailureMessage(path, problem)));
  return false;
}

bool ProgramTextWindow::saveFile(const std::string& path) {
  const std::string program = editor_->toPlainText().toStdString() + "\n";
  if (auto problem = storage::replaceFile(path, program)) {
    QMessageBox::warning(this, qt::tr(frontend::kProgramTextTitle),
                         QString::fromStdString(problem->reason));
    return false;
  }
  return true;
}

void ProgramTextWindow::openDialog() {
  const QString path = QFileDialog::getOpenFileName(this, qt::tr("VOLPAR -- OPEN PROGRAM TEXT"), {},
                                                    qt::tr("Program text (*.vpt)") + ";;" +
                                                        qt::tr("Program file (*.txt)") + ";;" +
                                                        qt::tr("All files (*)"));
  if (!path.isEmpty()) loadFile(path.toStdString());
}

void ProgramTextWindow::saveDialog() {
  QFileDialog dialog(this, qt::tr("VOLPAR -- SAVE PROGRAM TEXT"), {},
                     qt::tr("Program text (*.vpt)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("vpt");
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    saveFile(dialog.selectedFiles().front().toStdString());
}

}  // namespace volpar::qt
