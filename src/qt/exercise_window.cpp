// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/exercise_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "exercise/check.h"
#include "qt/theme.h"
#include "qt/translated.h"

namespace volpar::qt {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

QLabel* wrapped(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QLabel* heading(const char* source, QWidget* parent) {
  auto* label = new QLabel(parent);
  setTranslated(*label, source);
  return label;
}

}  // namespace

ExerciseWindow::ExerciseWindow(exercise::Exercise exercise,
                               std::function<exercise::Program()> readProgram)
    : QWidget(nullptr, Qt::Window),
      exercise_(std::make_shared<const exercise::Exercise>(std::move(exercise))),
      readProgram_(std::move(readProgram)),
      tests_(new QListWidget(this)),
      check_(new QPushButton(this)),
      verdicts_(new QListWidget(this)),
      hidden_(wrapped({}, this)) {
  setTranslatedTitle(*this, exercise::kWindowTitle);
  setTranslated(*check_, exercise::kCheckCaption);
  auto* title = wrapped(qs(exercise_->title), this);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  listTests();

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(check_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(wrapped(qs(exercise_->text), this));
  layout->addWidget(heading(exercise::kTestsHeading, this));
  layout->addWidget(tests_, 1);
  layout->addLayout(buttons);
  layout->addWidget(heading(exercise::kResultsHeading, this));
  layout->addWidget(verdicts_, 1);
  layout->addWidget(hidden_);
  resize(520, 480);

  connect(check_, &QPushButton::clicked, this, [this] { check(); });
  connect(&watcher_, &QFutureWatcher<Checked>::finished, this,
          [this] { showVerdicts(watcher_.result()); });
}

// A check still running finishes before the window goes: it owns nothing of the window.
ExerciseWindow::~ExerciseWindow() { watcher_.waitForFinished(); }

void ExerciseWindow::open() {
  show();
  raise();
  activateWindow();
}

void ExerciseWindow::check() {
  if (watcher_.isRunning()) return;
  auto program = std::make_shared<const exercise::Program>(readProgram_());
  check_->setEnabled(false);
  setTranslated(*check_, exercise::kCheckingCaption);
  verdicts_->clear();
  hidden_->clear();
  watcher_.setFuture(QtConcurrent::run([exercise = exercise_, program] {
    return Checked{program, exercise::gradeProgram(*exercise, *program)};
  }));
}

void ExerciseWindow::showVerdicts(const Checked& checked) {
  verdicts_->clear();
  for (const exercise::TestResult& t : checked.result.tests) {
    if (t.test->hidden) continue;
    auto* item = new QListWidgetItem(qs(exercise::verdictLine(t)), verdicts_);
    const frontend::Rgb c =
        drawnTheme()[t.passed() ? frontend::Slot::Passed : frontend::Slot::Failed];
    item->setForeground(QColor(c.red, c.green, c.blue));
  }
  hidden_->setText(qs(exercise::hiddenLine(checked.result)));
  setTranslated(*check_, exercise::kCheckCaption);
  check_->setEnabled(true);
  last_ = checked;
}

// The exercise's own words are the teacher's, in the language they were written in; the
// window's words and lines follow the language in use.
void ExerciseWindow::listTests() {
  tests_->clear();
  for (const exercise::Test& test : exercise_->tests) {
    if (!test.hidden) tests_->addItem(qs(exercise::testLine(test)));
  }
  check_->setToolTip(qt::tr(exercise::kCheckTip));
}

void ExerciseWindow::languageChanged() {
  listTests();
  if (last_ && !watcher_.isRunning()) showVerdicts(*last_);
}

}  // namespace volpar::qt
