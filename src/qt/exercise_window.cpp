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

namespace volpar::qt {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

QLabel* wrapped(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

ExerciseWindow::ExerciseWindow(exercise::Exercise exercise,
                               std::function<exercise::Program()> readProgram)
    : QWidget(nullptr, Qt::Window),
      exercise_(std::make_shared<const exercise::Exercise>(std::move(exercise))),
      readProgram_(std::move(readProgram)),
      tests_(new QListWidget(this)),
      check_(new QPushButton(exercise::kCheckCaption, this)),
      verdicts_(new QListWidget(this)),
      hidden_(wrapped({}, this)) {
  setWindowTitle(exercise::kWindowTitle);
  auto* title = wrapped(qs(exercise_->title), this);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  for (const exercise::Test& test : exercise_->tests) {
    if (!test.hidden) tests_->addItem(qs(exercise::testLine(test)));
  }
  check_->setToolTip(exercise::kCheckTip);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(check_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title);
  layout->addWidget(wrapped(qs(exercise_->text), this));
  layout->addWidget(new QLabel(exercise::kTestsHeading, this));
  layout->addWidget(tests_, 1);
  layout->addLayout(buttons);
  layout->addWidget(new QLabel(exercise::kResultsHeading, this));
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
  check_->setText(exercise::kCheckingCaption);
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
  check_->setText(exercise::kCheckCaption);
  check_->setEnabled(true);
}

}  // namespace volpar::qt
