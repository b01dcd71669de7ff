// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <QRadioButton>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "i18n/text.h"
#include "qt/part_walker.h"
#include "qt/translated.h"

namespace volpar::qt {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

// The windows' notification objects (see announce).
std::unordered_set<const QObject*>& newsObjects() {
  static std::unordered_set<const QObject*> set;
  return set;
}

// How long a notification stays shown: long enough for a screen reader to read it.
constexpr int kNewsShownMs = 1000;

// What the next news of the machine begins with.
QString& nextLead() {
  static QString lead;
  return lead;
}

// An option button: the program clears the others of its group itself, so the button is
// not auto-exclusive, and Qt would offer it as a check box. It is a radio button.
class RadioAccessible : public QAccessibleWidget {
 public:
  explicit RadioAccessible(QRadioButton* button)
      : QAccessibleWidget(button, QAccessible::RadioButton) {}

  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !button()->accessibleName().isEmpty())
      return QAccessibleWidget::text(t);
    return QString(button()->text()).remove(QLatin1Char('&'));
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = button()->isChecked();
    return s;
  }
  QStringList actionNames() const override {
    return QStringList{pressAction(), toggleAction()} + QAccessibleWidget::actionNames();
  }
  void doAction(const QString& action) override {
    if (action == pressAction() || action == toggleAction()) {
      button()->click();
    } else {
      QAccessibleWidget::doAction(action);
    }
  }

 private:
  QRadioButton* button() const { return static_cast<QRadioButton*>(widget()); }
};

// The client areas that carry machine objects, and whose they are.
std::unordered_map<const QObject*, MachineAccessibility*>& owners() {
  static std::unordered_map<const QObject*, MachineAccessibility*> map;
  return map;
}

// An element's box on the screen.
QRect screenRect(const FormWindow& window, const ui::Element& element) {
  const QRect r = window.pixelRect(element);
  return QRect(window.clientArea()->mapToGlobal(r.topLeft()), r.size());
}

// Where a reading is drawn on the screen.
QRect screenRect(const FormWindow& window, const ui::Reading& reading) {
  const QRect first = screenRect(window, *reading.place);
  return reading.placeEnd ? first.united(screenRect(window, *reading.placeEnd)) : first;
}

// A drawn part of a screen that is no widget of its own: a register, a lamp, a table row.
class DrawnPart : public QAccessibleInterface {
 public:
  DrawnPart(const MachineAccessibility& owner, QAccessible::Role role)
      : owner_(owner), role_(role) {}

  bool isValid() const override { return owner_.alive(); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return owner_.window().windowHandle(); }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override {
    return QAccessible::queryAccessibleInterface(owner_.window().clientArea());
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  void setText(QAccessible::Text, const QString&) override {}
  QAccessible::Role role() const override { return role_; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.readOnly = true;
    s.invisible = !owner_.window().isVisible();
    s.focusable = true;
    s.focused = owner_.focusedPart() == this;
    return s;
  }

 protected:
  const MachineAccessibility& owner_;
  QAccessible::Role role_;
};

// A drawn part read as a cell: its name ("Program Counter", "Address 5"), its reading as
// the description and the value ("5, binary 00101"), and as its text both together
// ("Program Counter: 5, binary 00101"), which is what a screen reader speaks when the part
// takes the focus and what its flat review reads in place. Read-only, without selection
// or caret; the characters share the part's box from left to right.
class SaidPart : public DrawnPart, public QAccessibleTextInterface {
 public:
  explicit SaidPart(const MachineAccessibility& owner) : DrawnPart(owner, QAccessible::Cell) {}

  virtual const ui::Reading& reading() const = 0;
  QString said() const { return saidOf(text(QAccessible::Description)); }
  QString saidOf(const QString& description) const {
    return text(QAccessible::Name) + QStringLiteral(": ") + description;
  }

  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
  }
  QString text(QAccessible::Text t) const override {
    if (!isValid()) return {};
    switch (t) {
      case QAccessible::Name: return qs(reading().name);
      case QAccessible::Description:
      case QAccessible::Value: return qs(reading().say());
      default: return {};
    }
  }
  QRect rect() const override {
    return isValid() ? screenRect(owner_.window(), reading()) : QRect();
  }

  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override { return said().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(said().size()); }
  QRect characterRect(int i) const override {
    const QRect box = rect();
    const int n = std::max(1, characterCount());
    if (i < 0 || i >= n) return {};
    const int left = box.left() + box.width() * i / n;
    return QRect(left, box.top(), std::max(1, box.left() + box.width() * (i + 1) / n - left),
                 box.height());
  }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }
};

// One reading of the execution screen.
class ReadingPart : public SaidPart {
 public:
  ReadingPart(const MachineAccessibility& owner, const ui::Reading& reading)
      : SaidPart(owner), reading_(reading) {}
  const ui::Reading& reading() const override { return reading_; }

 private:
  const ui::Reading& reading_;  // the owner's
};

// A row of a table: "Address 5", "00100101, LOAD 5, entry location"; the row the next
// entry goes to is selected.
class TableRow : public SaidPart {
 public:
  TableRow(const MachineAccessibility& owner, const ui::ReadingTable& table, int row,
           QAccessibleInterface* tableIface)
      : SaidPart(owner), table_(table), row_(row), tableIface_(tableIface) {}

  const ui::Reading& reading() const override {
    return table_.rows[static_cast<std::size_t>(row_)];
  }
  QAccessibleInterface* parent() const override { return tableIface_; }
  QAccessible::State state() const override {
    QAccessible::State s = DrawnPart::state();
    s.selectable = true;
    s.selected = isValid() && table_.current() == row_;
    s.invisible = s.invisible || !isValid() || !reading().place->visible();
    return s;
  }

 private:
  const ui::ReadingTable& table_;
  int row_;
  QAccessibleInterface* tableIface_;
};

// A table of rows (the memory grid).
class RowTable : public DrawnPart {
 public:
  RowTable(const MachineAccessibility& owner, const ui::ReadingTable& table)
      : DrawnPart(owner, QAccessible::Table), table_(table) {}

  void setRows(std::vector<QAccessibleInterface*> rows) { rows_ = std::move(rows); }

  QAccessibleInterface* child(int i) const override {
    return i >= 0 && i < childCount() ? rows_[static_cast<std::size_t>(i)] : nullptr;
  }
  int childCount() const override { return static_cast<int>(rows_.size()); }
  int indexOfChild(const QAccessibleInterface* c) const override {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (rows_[i] == c) return static_cast<int>(i);
    }
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (QAccessibleInterface* row : rows_) {
      if (row->rect().contains(x, y)) return row;
    }
    return nullptr;
  }
  QString text(QAccessible::Text t) const override {
    if (!isValid()) return {};
    if (t == QAccessible::Name) return qs(table_.name);
    if (t == QAccessible::Description) return qs(table_.description);
    return {};
  }
  QRect rect() const override {
    if (!isValid() || rows_.empty()) return {};
    return rows_.front()->rect().united(rows_.back()->rect());
  }

 private:
  const ui::ReadingTable& table_;
  std::vector<QAccessibleInterface*> rows_;
};

// The client area of a window with machine objects: its widgets, then those objects.
class AccessibleClientArea : public QAccessibleWidget {
 public:
  AccessibleClientArea(QWidget* area, MachineAccessibility& owner)
      : QAccessibleWidget(area, QAccessible::Client), owner_(owner) {}

  int childCount() const override { return widgetCount() + owner_.count(); }
  QAccessibleInterface* child(int i) const override {
    const int widgets = widgetCount();
    return i < widgets ? QAccessibleWidget::child(i) : owner_.item(i - widgets);
  }
  int indexOfChild(const QAccessibleInterface* c) const override {
    const int k = owner_.indexOf(c);
    return k >= 0 ? widgetCount() + k : QAccessibleWidget::indexOfChild(c);
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    if (QAccessibleInterface* w = QAccessibleWidget::childAt(x, y)) return w;
    for (int i = 0; i < owner_.count(); ++i) {
      if (owner_.item(i)->rect().contains(x, y)) return owner_.item(i);
    }
    return nullptr;
  }

 private:
  int widgetCount() const { return QAccessibleWidget::childCount(); }
  MachineAccessibility& owner_;
};

}  // namespace

MachineAccessibility::MachineAccessibility(FormWindow& window, ui::AccessibleParts parts)
    : QObject(&window), window_(window), parts_(std::move(parts)) {
  for (const ui::Reading& r : parts_.readings) adopt(new ReadingPart(*this, r));
  if (parts_.table) {
    auto* table = new RowTable(*this, *parts_.table);
    adopt(table);
    std::vector<QAccessibleInterface*> rows;
    for (int i = 0; i < static_cast<int>(parts_.table->rows.size()); ++i) {
      rows.push_back(new TableRow(*this, *parts_.table, i, table));
      ids_.push_back(QAccessible::registerAccessibleInterface(rows.back()));
      told_.push_back(rows.back()->text(QAccessible::Description));
    }
    walker_ = new PartWalker(window.clientArea(), rows, parts_.table->current);
    table->setRows(std::move(rows));
  } else if (!items_.empty()) {
    walker_ = new PartWalker(window.clientArea(), items_, nullptr);
  }
  spoken_ = told_;
  nameControls(window, parts_.names);
  own();
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { announce(); });
}

MachineAccessibility::~MachineAccessibility() { formGone(); }

void MachineAccessibility::adopt(QAccessibleInterface* iface) {
  items_.push_back(iface);
  ids_.push_back(QAccessible::registerAccessibleInterface(iface));
  told_.push_back(iface->text(QAccessible::Description));
}

// A screen reader that came before this may hold the client area as a plain widget: it
// is made again, with the machine's objects.
void MachineAccessibility::own() {
  QWidget* area = window_.clientArea();
  owners()[area] = this;
  if (!QAccessible::isActive()) return;
  QAccessibleInterface* before = QAccessible::queryAccessibleInterface(area);
  if (before && !dynamic_cast<AccessibleClientArea*>(before)) {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(before));
  }
}

void nameControls(FormWindow& window, const std::vector<ui::ControlName>& names) {
  for (const ui::ControlName& n : names) {
    QWidget* w = window.widgetOf(*n.control);
    if (!w) continue;
    if (w->accessibleName() != qs(n.name)) w->setAccessibleName(qs(n.name));
    const QString description = n.description ? qs(n.description()) : QString();
    if (w->accessibleDescription() != description) w->setAccessibleDescription(description);
  }
}

// The parts keep their objects; only their names are the new language's.
void MachineAccessibility::rename(const ui::AccessibleParts& fresh) {
  if (!alive_) return;
  parts_.names = fresh.names;
  for (std::size_t i = 0; i < parts_.readings.size() && i < fresh.readings.size(); ++i) {
    parts_.readings[i].name = fresh.readings[i].name;
  }
  if (parts_.table && fresh.table) {
    parts_.table->name = fresh.table->name;
    for (std::size_t i = 0; i < parts_.table->rows.size() && i < fresh.table->rows.size(); ++i) {
      parts_.table->rows[i].name = fresh.table->rows[i].name;
    }
  }
  nameControls(window_, parts_.names);
  for (QAccessibleInterface* iface : items_) {
    QAccessibleEvent named(iface, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
  }
}

QAccessibleInterface* MachineAccessibility::item(int i) const {
  return i >= 0 && i < count() ? items_[static_cast<std::size_t>(i)] : nullptr;
}

int MachineAccessibility::indexOf(const QAccessibleInterface* iface) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == iface) return static_cast<int>(i);
  }
  return -1;
}

const QAccessibleInterface* MachineAccessibility::focusedPart() const {
  return walker_ ? walker_->focused() : nullptr;
}

void MachineAccessibility::formGone() {
  if (!alive_) return;
  alive_ = false;
  delete walker_;
  timer_.stop();
  owners().erase(window_.clientArea());
  for (QAccessible::Id id : ids_) QAccessible::deleteAccessibleInterface(id);
  ids_.clear();
  items_.clear();
  told_.clear();
}

void MachineAccessibility::elementChanged(ui::Element&) {
  if (!alive_ || timer_.isActive()) return;
  // The first change after a quiet spell goes out as soon as the phase is over.
  const qint64 since = sinceLast_.isValid() ? sinceLast_.elapsed() : kAnnounceMs;
  timer_.start(static_cast<int>(std::max<qint64>(0, kAnnounceMs - since)));
}

void MachineAccessibility::announceNow() {
  if (!alive_) return;
  timer_.stop();
  announce();
}

void MachineAccessibility::announce() {
  sinceLast_.start();
  // The rows' texts follow the objects' own in told_ (see the constructor).
  std::vector<QAccessibleInterface*> all = items_;
  if (parts_.table) {
    QAccessibleInterface* table = items_.back();
    for (int row = 0; row < table->childCount(); ++row) all.push_back(table->child(row));
  }
  for (std::size_t i = 0; i < all.size(); ++i) {
    const QString now = all[i]->text(QAccessible::Description);
    if (now == told_[i]) continue;
    const auto* part = dynamic_cast<const SaidPart*>(all[i]);
    QAccessibleTextUpdateEvent text(all[i], 0, part ? part->saidOf(told_[i]) : told_[i],
                                    part ? part->saidOf(now) : now);
    told_[i] = now;
    QAccessible::updateAccessibility(&text);
    QAccessibleEvent description(all[i], QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
  }
  const QString said = news();
  if (!said.isEmpty()) qt::announce(&window_, said);
  nameControls(window_, parts_.names);
  if (announced) announced();
}

// What to say of the changes since the last news: the readings that changed, the clock and
// what its phase did first ("Clock phase T3, PC ← PC + 1 (Increment Program Counter: ...),
// Program Counter 1, binary 00001"), or what the table's rows took. While the clock runs
// too fast to follow, only that it runs; where it stopped when it stops.
QString MachineAccessibility::news() {
  if (parts_.quiet && parts_.quiet()) {
    const bool began = !wasQuiet_;
    wasQuiet_ = true;
    return began ? qt::tr("Clock running") : QString();
  }
  QStringList changed;
  for (std::size_t i = 0; i < parts_.readings.size(); ++i) {
    if (told_[i] == spoken_[i]) continue;
    spoken_[i] = told_[i];
    changed << qs(parts_.readings[i].name) + " " + told_[i];
  }
  const QString clock = parts_.readings.empty() ? QString() : qs(parts_.readings.front().name);
  if (!changed.isEmpty() && !changed.front().startsWith(clock + " "))
    changed.prepend(clock + " " + told_.front());
  const QString explained = parts_.explanation ? qs(parts_.explanation()) : QString();
  if (!changed.isEmpty() && !explained.isEmpty()) changed.insert(1, explained);
  QString said = changed.isEmpty() ? tableNews() : changed.join(QStringLiteral(", "));
  // The button just pressed that took a new caption (Begin became Step) says it first:
  // its own name change is an event a screen reader cannot speak.
  const QString renamed = renamedButton();
  if (!renamed.isEmpty()) {
    said = renamed + QStringLiteral(", ") +
           (said.isEmpty() && !clock.isEmpty() ? clock + " " + told_.front() : said);
  }
  if (said.isEmpty()) return said;
  if (wasQuiet_) said = qs(i18n::fill(i18n::tr("Clock stopped, %1"), {said.toStdString()}));
  wasQuiet_ = false;
  if (!nextLead().isEmpty()) {
    // TRANSLATORS: %1 is what led to the news ("Back"), %2 the news itself.
    said = qs(i18n::fill(i18n::tr("%1: %2"), {nextLead().toStdString(), said.toStdString()}));
  }
  nextLead().clear();
  return said;
}

// The caption of the window's focused button when it changed since the last news.
QString MachineAccessibility::renamedButton() {
  auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
  if (button && button->window() != &window_) button = nullptr;
  const QString caption = button ? QString(button->text()).remove(QLatin1Char('&')) : QString();
  const bool renamed = button && button == lastButton_ && caption != lastCaption_;
  lastButton_ = button;
  lastCaption_ = caption;
  return renamed ? caption : QString();
}

// "Address 0: 01100000, INPUT 0 stored; next location 1"; a whole new memory in a word.
QString MachineAccessibility::tableNews() {
  if (!parts_.table) return {};
  std::vector<std::string> before, now;
  for (std::size_t i = items_.size(); i < told_.size(); ++i) {
    before.push_back(spoken_[i].toStdString());
    now.push_back(told_[i].toStdString());
    spoken_[i] = told_[i];
  }
  return qs(ui::tableNews(*parts_.table, before, now));
}

QAccessibleInterface* MachineAccessibility::factory(const QString& name, QObject* object) {
  if (newsObjects().count(object))
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
  if (name == QLatin1String("QRadioButton"))
    return new RadioAccessible(static_cast<QRadioButton*>(object));
  auto it = owners().find(object);
  if (it == owners().end()) return nullptr;
  return new AccessibleClientArea(static_cast<QWidget*>(object), *it->second);
}

void announce(QWidget* window, const QString& news) {
  if (!window) return;
  auto* said =
      window->findChild<QWidget*>(QStringLiteral("volpar-news"), Qt::FindDirectChildrenOnly);
  if (!said) {
    // Made before it has a parent, so that its accessible object is a notification.
    said = new QWidget;
    said->setObjectName(QStringLiteral("volpar-news"));
    newsObjects().insert(said);
    QObject::connect(said, &QObject::destroyed, [said] { newsObjects().erase(said); });
    said->setParent(window);
    said->setFocusPolicy(Qt::NoFocus);
    said->setAttribute(Qt::WA_TransparentForMouseEvents);
    said->setGeometry(0, 0, 1, 1);
  }
  said->hide();
  said->setAccessibleName(news);
  // Shown again, it is a new notification; hidden soon after, so that showing the window
  // again does not say it again.
  said->show();
  QTimer::singleShot(kNewsShownMs, said, &QWidget::hide);
}

void announceNextWith(const QString& lead) { nextLead() = lead; }

void enableMachineAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(&MachineAccessibility::factory);
}

}  // namespace volpar::qt
