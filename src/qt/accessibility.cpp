// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/accessibility.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QApplication>
#include <unordered_map>

#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"

namespace volpar::qt {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

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
    return s;
  }

 protected:
  const MachineAccessibility& owner_;
  QAccessible::Role role_;
};

// A drawn part whose text a screen reader reads as it reads a label's: the text of
// `said()`, read-only, without selection or caret.
class SaidText : public QAccessibleTextInterface {
 public:
  virtual QString said() const = 0;

  void selection(int, int* start, int* end) const override { *start = *end = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int start, int end) const override { return said().mid(start, end - start); }
  int characterCount() const override { return static_cast<int>(said().size()); }
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* start, int* end) const override {
    *start = 0;
    *end = characterCount();
    return {};
  }
};

// One reading of the execution screen: its name, and its text as the description and
// the value ("Program Counter": "5, binary 00101").
class ReadingPart : public DrawnPart, public SaidText {
 public:
  ReadingPart(const MachineAccessibility& owner, history::Reading reading)
      : DrawnPart(owner, QAccessible::StaticText), reading_(std::move(reading)) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
  }
  QString said() const override { return text(QAccessible::Description); }

  QString text(QAccessible::Text t) const override {
    if (!isValid()) return {};
    switch (t) {
      case QAccessible::Name: return qs(reading_.name);
      case QAccessible::Description:
      case QAccessible::Value: return qs(reading_.say());
      default: return {};
    }
  }
  QRect rect() const override {
    return isValid() ? screenRect(owner_.window(), *reading_.place) : QRect();
  }

 private:
  history::Reading reading_;
};

// A row of the memory table: "Address 5", "00100101, LOAD 5"; the row Send to Memory
// writes next is selected and says so.
class MemoryRow : public DrawnPart, public SaidText {
 public:
  MemoryRow(const MachineAccessibility& owner, const DERAZO_Input& input, int address,
            QAccessibleInterface* table)
      : DrawnPart(owner, QAccessible::Cell), input_(input), address_(address), table_(table) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
  }
  QString said() const override { return text(QAccessible::Description); }

  QAccessibleInterface* parent() const override { return table_; }
  QString text(QAccessible::Text t) const override {
    if (!isValid()) return {};
    switch (t) {
      case QAccessible::Name: return qs(history::memoryRowName(address_));
      case QAccessible::Description:
      case QAccessible::Value:
        return qs(history::memoryRowSaid(input_, address_)) +
               (isEntry() ? QStringLiteral(", entry location") : QString());
      default: return {};
    }
  }
  QAccessible::State state() const override {
    QAccessible::State s = DrawnPart::state();
    s.selectable = true;
    s.selected = isValid() && isEntry();
    s.invisible = s.invisible || !isValid() || !input_.Shape1(8 * address_ + 1).visible();
    return s;
  }
  QRect rect() const override {
    if (!isValid()) return {};
    return screenRect(owner_.window(), input_.Shape1(8 * address_ + 1))
        .united(screenRect(owner_.window(), input_.Shape1(8 * address_ + 8)));
  }

 private:
  bool isEntry() const { return history::entryLocation(input_) == address_; }

  const DERAZO_Input& input_;
  int address_;
  QAccessibleInterface* table_;
};

// The memory grid as a table of 32 rows.
class MemoryTable : public DrawnPart {
 public:
  MemoryTable(const MachineAccessibility& owner, const DERAZO_Input& input)
      : DrawnPart(owner, QAccessible::Table), input_(input) {}

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
    if (t == QAccessible::Name) return QStringLiteral("Memory");
    if (t == QAccessible::Description) return QStringLiteral("32 rows, one per address");
    return {};
  }
  QRect rect() const override {
    if (!isValid()) return {};
    return screenRect(owner_.window(), input_.Shape1(1))
        .united(screenRect(owner_.window(), input_.Shape1(256)));
  }

 private:
  const DERAZO_Input& input_;
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

MachineAccessibility::MachineAccessibility(FormWindow& window, const REXEC& rexec)
    : QObject(&window), window_(window) {
  for (history::Reading& r : history::executionReadings(rexec)) {
    adopt(new ReadingPart(*this, std::move(r)));
  }
  std::vector<std::pair<const ui::Element*, QString>> names;
  for (int i = 1; i <= 8; ++i) names.emplace_back(&rexec.Input_bit(i), QString("Bit %1").arg(i));
  names.emplace_back(&rexec.Text_Input_Decimal, QStringLiteral("Decimal value"));
  nameTextBoxes(names);
  for (int i = 1; i <= 8; ++i) {
    if (QWidget* w = window.widgetOf(rexec.Input_bit(i)))
      w->setAccessibleDescription("INPUT window");
  }
  if (QWidget* bar = window.widgetOf(rexec.time_scroll)) bar->setAccessibleName("Speed");
  own();
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, [this] { announce(); });
}

MachineAccessibility::MachineAccessibility(FormWindow& window, const DERAZO_Input& input)
    : QObject(&window), window_(window), input_(&input) {
  auto* table = new MemoryTable(*this, input);
  adopt(table);
  std::vector<QAccessibleInterface*> rows;
  for (int a = 0; a < 32; ++a) {
    rows.push_back(new MemoryRow(*this, input, a, table));
    ids_.push_back(QAccessible::registerAccessibleInterface(rows.back()));
    told_.push_back(rows.back()->text(QAccessible::Description));
  }
  table->setRows(std::move(rows));
  std::vector<std::pair<const ui::Element*, QString>> names;
  for (int i = 1; i <= 8; ++i) names.emplace_back(&input.Input_Bit(i), QString("Bit %1").arg(i));
  names.emplace_back(&input.Input_Op_Code(0), QStringLiteral("Op code"));
  names.emplace_back(&input.Input_Memory_Address, QStringLiteral("Address"));
  names.emplace_back(&input.memory_text, QStringLiteral("Memory location"));
  names.emplace_back(&input.exec_text, QStringLiteral("Start location"));
  nameTextBoxes(names);
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

void MachineAccessibility::nameTextBoxes(
    const std::vector<std::pair<const ui::Element*, QString>>& names) {
  for (const auto& [element, name] : names) {
    if (QWidget* w = window_.widgetOf(*element)) w->setAccessibleName(name);
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

void MachineAccessibility::formGone() {
  if (!alive_) return;
  alive_ = false;
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
  std::vector<QAccessibleInterface*> all = items_;
  if (input_) {
    for (int a = 0; a < items_.front()->childCount(); ++a) all.push_back(items_.front()->child(a));
  }
  // The rows' texts follow the objects' own in told_ (see the constructors).
  QStringList changed;
  for (std::size_t i = 0; i < all.size(); ++i) {
    const QString now = all[i]->text(QAccessible::Description);
    if (now == told_[i]) continue;
    QAccessibleTextUpdateEvent text(all[i], 0, told_[i], now);
    told_[i] = now;
    QAccessible::updateAccessibility(&text);
    QAccessibleEvent description(all[i], QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
    QAccessibleEvent name(all[i], QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
    if (!input_) changed << all[i]->text(QAccessible::Name) + " " + now;
  }
  if (!changed.isEmpty()) tellFocus(changed.join(QStringLiteral(", ")));
  if (input_) {
    const QString location =
        QStringLiteral("Memory location ") + QString::fromStdString(input_->memory_text.Text());
    for (int i = 1; i <= 8; ++i) {
      QWidget* w = window_.widgetOf(input_->Input_Bit(i));
      if (w && w->accessibleDescription() != location) w->setAccessibleDescription(location);
    }
  }
  if (announced) announced();
}

// A screen reader speaks what the control in the focus says of itself when that changes:
// the button just pressed (Step) says what the phase changed, until the focus moves on.
void MachineAccessibility::tellFocus(const QString& news) {
  QWidget* focus = QApplication::focusWidget();
  if (focus && (focus->window() != &window_ || !qobject_cast<QAbstractButton*>(focus)))
    focus = nullptr;
  if (toldFocus_ && toldFocus_ != focus) toldFocus_->setAccessibleDescription({});
  toldFocus_ = focus;
  if (focus && QAccessible::isActive()) focus->setAccessibleDescription(news);
}

QAccessibleInterface* MachineAccessibility::factory(const QString&, QObject* object) {
  auto it = owners().find(object);
  if (it == owners().end()) return nullptr;
  return new AccessibleClientArea(static_cast<QWidget*>(object), *it->second);
}

void enableMachineAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(&MachineAccessibility::factory);
}

}  // namespace volpar::qt
