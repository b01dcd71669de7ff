// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_front_end.h"

#include <emscripten/bind.h>

#include "exercise/exercise_file.h"
#include "frontend/caption_fit.h"
#include "frontend/clock_pacing.h"
#include "frontend/contrast.h"
#include "frontend/fonts.h"
#include "frontend/reading_windows.h"
#include "frontend/system_colors.h"
#include "frontend/themes.h"
#include "i18n/text.h"
#include "machine/cell_reading.h"
#include "storage/program_file_text.h"
#include "storage/program_link.h"
#include "web/web_program_text.h"

namespace volpar::web {

using emscripten::val;

namespace {

const char* kindName(ui::ElementKind kind) {
  switch (kind) {
    case ui::ElementKind::Label: return "label";
    case ui::ElementKind::Shape: return "shape";
    case ui::ElementKind::Line: return "line";
    case ui::ElementKind::CommandButton: return "button";
    case ui::ElementKind::OptionButton: return "option";
    case ui::ElementKind::CheckBox: return "check";
    case ui::ElementKind::HScrollBar: return "scroll";
    case ui::ElementKind::TextBox: return "text";
    case ui::ElementKind::Frame: return "frame";
    case ui::ElementKind::Timer: return "timer";
    case ui::ElementKind::Menu: return "menu";
    case ui::ElementKind::CommonDialog: return "dialog";
  }
  return "";
}

const char* eventName(ui::FormObserver::FormEvent event) {
  switch (event) {
    case ui::FormObserver::FormEvent::Shown: return "shown";
    case ui::FormObserver::FormEvent::Hidden: return "hidden";
    case ui::FormObserver::FormEvent::BroughtToFront: return "front";
    case ui::FormObserver::FormEvent::FocusChanged: return "focus";
  }
  return "";
}

val fontOf(const ui::Font& font) {
  val f = val::object();
  f.set("name", font.name);
  f.set("points", font.points);
  f.set("bold", font.bold);
  return f;
}

val numbers(const std::vector<int>& ids) {
  val list = val::array();
  for (int id : ids) list.call<void>("push", id);
  return list;
}

// Colours go to the page as numbers; the top bit makes them negative in an int.
double colour(ui::Color c) { return static_cast<double>(c); }

// Where an element's description goes: the page's object, set("x1", 0)("y1", 0)...
class Setter {
 public:
  explicit Setter(val& d) : d_(d) {}
  template <class T>
  const Setter& operator()(const char* name, const T& value) const {
    d_.set(name, value);
    return *this;
  }
  const Setter& operator()(const char* name, const ui::Font& font) const {
    d_.set(name, fontOf(font));
    return *this;
  }

 private:
  val& d_;
};

// ... or a digest of it, which tells whether anything the page draws has changed since the
// element was last described.
class Digest {
 public:
  template <class T>
  const Digest& operator()(const char* /*name*/, const T& value) const {
    mix(std::hash<T>{}(value));
    return *this;
  }
  const Digest& operator()(const char* /*name*/, const ui::Font& font) const {
    mix(std::hash<std::string>{}(font.name));
    mix(std::hash<double>{}(font.points));
    mix(std::hash<bool>{}(font.bold));
    return *this;
  }
  std::size_t value() const { return hash_; }

 private:
  void mix(std::size_t h) const {
    hash_ ^= h + 0x9e3779b97f4a7c15ULL + (hash_ << 6) + (hash_ >> 2);
  }
  mutable std::size_t hash_ = 0;
};

// A caption of the element model as the user reads it: in the language in use.
std::string shownCaption(const std::string& caption) { return std::string(i18n::shown(caption)); }

template <class T>
const T& as(const ui::Element& e) {
  return static_cast<const T&>(e);
}

// The properties of each kind that the page draws.
template <class Sink>
void describeKind(const Sink& set, const ui::Element& e) {
  switch (e.kind()) {
    case ui::ElementKind::Label:
      set("caption", shownCaption(as<ui::Label>(e).Caption()))(
          "centred", frontend::captionCentred(as<ui::Label>(e)));
      break;
    case ui::ElementKind::Shape: set("fill", colour(as<ui::Shape>(e).FillColor())); break;
    case ui::ElementKind::Line: {
      const auto& l = as<ui::Line>(e);
      set("x1", l.x1())("y1", l.y1())("x2", l.x2())("y2", l.y2());
      break;
    }
    case ui::ElementKind::CommandButton: {
      const auto& b = as<ui::CommandButton>(e);
      set("caption", shownCaption(b.Caption()))("isDefault", b.Default());
      break;
    }
    case ui::ElementKind::OptionButton: {
      const auto& o = as<ui::OptionButton>(e);
      set("caption", shownCaption(o.Caption()))("value", o.Value() ? 1 : 0);
      break;
    }
    case ui::ElementKind::CheckBox: {
      const auto& c = as<ui::CheckBox>(e);
      set("caption", shownCaption(c.Caption()))("value", c.Value());
      break;
    }
    case ui::ElementKind::HScrollBar: {
      const auto& s = as<ui::HScrollBar>(e);
      set("min", s.Min())("max", s.Max())("value", s.Value());
      set("smallChange", s.SmallChange())("largeChange", s.LargeChange());
      break;
    }
    case ui::ElementKind::TextBox: {
      const auto& t = as<ui::TextBox>(e);
      set("text", std::string(frontend::boxText(t)))("selStart", t.SelStart())("selLength",
                                                                               t.SelLength());
      set("maxLength", t.MaxLength())("multiLine", t.MultiLine());
      break;
    }
    case ui::ElementKind::Frame: set("caption", shownCaption(as<ui::Frame>(e).Caption())); break;
    case ui::ElementKind::Timer: set("interval", as<ui::Timer>(e).Interval()); break;
    case ui::ElementKind::Menu: {
      const auto& m = as<ui::Menu>(e);
      set("caption", shownCaption(m.Caption()))("shortcut", m.Shortcut());
      break;
    }
    case ui::ElementKind::CommonDialog: break;
  }
}

}  // namespace

WebFrontEnd::WebFrontEnd(val page)
    : page_(std::move(page)),
      gate_(
          [this] {
            platform_.forgetAnswer();  // an answer no question of this event took
            app_.collectRetired();
          },
          [this] { return app_.programEnded(); },
          [this](const std::string& message) { page_.call<void>("failure", message); }) {
  platform_.setPage(page_);
  platform_.setStepBack([this] { history_.stepBack(); });
  app_.addObserver(this);
}

WebFrontEnd::~WebFrontEnd() {
  platform_.setStepBack(nullptr);
  app_.removeObserver(this);
}

void WebFrontEnd::start() {
  deliver([this] { app_.start(); });
}

// Every element and form is drawn again, and what a screen reader finds read again, in the
// language now in use: the page redraws everything takeChanges() names.
bool WebFrontEnd::setLanguage(const std::string& code) {
  if (!app_.setLanguage(code)) return false;
  drawn_.clear();
  for (const auto& [id, form] : forms_) {
    if (form->accessibleParts) parts_[id] = form->accessibleParts();
    formEvents_.emplace_back(id, static_cast<int>(FormEvent::FocusChanged));
  }
  for (const auto& [id, element] : elements_) {
    if (pending_.insert(id).second) changed_.push_back(id);
  }
  return true;
}

ui::Element* WebFrontEnd::elementAt(int id) const {
  auto it = elements_.find(id);
  return it == elements_.end() ? nullptr : it->second;
}

ui::Form* WebFrontEnd::formAt(int id) const {
  auto it = forms_.find(id);
  return it == forms_.end() ? nullptr : it->second;
}

// ---- the model's side -------------------------------------------------------------------

void WebFrontEnd::formCreated(ui::Form& form) {
  const int id = nextId_++;
  forms_[id] = &form;
  formIds_[&form] = id;
  for (ui::Element* e : form.elements()) {
    elements_[nextId_] = e;
    elementIds_[e] = nextId_++;
  }
  if (form.accessibleParts) parts_[id] = form.accessibleParts();
  form.setObserver(this);
  created_.push_back(id);
}

void WebFrontEnd::formDestroyed(ui::Form& form) {
  auto it = formIds_.find(&form);
  if (it == formIds_.end()) return;
  for (ui::Element* e : form.elements()) {
    auto element = elementIds_.find(e);
    if (element == elementIds_.end()) continue;
    elements_.erase(element->second);
    drawn_.erase(element->second);
    elementIds_.erase(element);
  }
  if (form.observer() == this) form.setObserver(nullptr);
  destroyed_.push_back(it->second);
  parts_.erase(it->second);
  forms_.erase(it->second);
  formIds_.erase(it);
}

void WebFrontEnd::elementChanged(ui::Element& element) {
  auto it = elementIds_.find(&element);
  if (it != elementIds_.end() && pending_.insert(it->second).second) changed_.push_back(it->second);
}

void WebFrontEnd::formChanged(ui::Form& form, FormEvent event) {
  auto it = formIds_.find(&form);
  if (it != formIds_.end()) formEvents_.emplace_back(it->second, static_cast<int>(event));
}

val WebFrontEnd::takeChanges() {
  val changes = val::object();
  changes.set("created", numbers(created_));
  changes.set("destroyed", numbers(destroyed_));
  std::erase_if(changed_, [this](int id) { return !drawnDifferently(id); });
  changes.set("elements", numbers(changed_));
  val events = val::array();
  for (const auto& [id, event] : formEvents_) {
    val pair = val::array();
    pair.call<void>("push", id);
    pair.call<void>("push", std::string(eventName(static_cast<FormEvent>(event))));
    events.call<void>("push", pair);
  }
  changes.set("forms", events);
  created_.clear();
  destroyed_.clear();
  changed_.clear();
  pending_.clear();
  formEvents_.clear();
  return changes;
}

val WebFrontEnd::form(int id) const {
  const ui::Form* f = formAt(id);
  if (!f) return val::undefined();
  val d = val::object();
  d.set("name", f->name());
  d.set("width", f->clientWidth());
  d.set("height", f->clientHeight());
  d.set("back", colour(f->BackColor()));
  d.set("font", fontOf(f->font()));
  d.set("keyPress", static_cast<bool>(f->onKeyPress));
  d.set("mouseDown", static_cast<bool>(f->onMouseDown));
  d.set("click", static_cast<bool>(f->onClick));
  d.set("help", static_cast<bool>(f->onHelp));
  std::vector<int> ids;
  for (const ui::Element* e : f->elements()) ids.push_back(elementIds_.at(e));
  d.set("elements", numbers(ids));
  std::vector<int> order;
  for (const ui::Element* e : f->tabOrder()) order.push_back(elementIds_.at(e));
  d.set("tabOrder", numbers(order));
  val keys = val::array();
  for (const ui::Form::KeyCommand& command : f->keyCommands) keys.call<void>("push", command.keys);
  d.set("keyCommands", keys);
  d.set("tooltips", static_cast<bool>(f->tooltipAt));
  d.set("sideBySide", f->sideBySide);
  d.set("holdsProgram", f->holdsProgram);
  return d;
}

val WebFrontEnd::formState(int id) const {
  const ui::Form* f = formAt(id);
  if (!f) return val::undefined();
  val d = val::object();
  d.set("caption", shownCaption(f->Caption()));
  d.set("visible", f->Visible());
  auto focused = elementIds_.find(f->focused());
  d.set("focused", focused == elementIds_.end() ? 0 : focused->second);
  return d;
}

val WebFrontEnd::tooltipAt(int form, int x, int y) const {
  const ui::Form* f = formAt(form);
  if (!f || !f->tooltipAt) return val::undefined();
  const auto tooltip = f->tooltipAt(ui::Point{x, y});
  if (!tooltip) return val::undefined();
  val d = val::object();
  d.set("text", shownCaption(tooltip->text));
  d.set("left", tooltip->area.left);
  d.set("top", tooltip->area.top);
  d.set("width", tooltip->area.width);
  d.set("height", tooltip->area.height);
  return d;
}

val WebFrontEnd::element(int id) const {
  const ui::Element* e = elementAt(id);
  if (!e) return val::undefined();
  val d = val::object();
  describe(Setter(d), id, *e);
  return d;
}

template <class Sink>
void WebFrontEnd::describe(const Sink& set, int id, const ui::Element& e) const {
  const ui::Rect& r = e.rect();
  set("id", id)("kind", std::string(kindName(e.kind())))("name", e.displayName());
  set("left", r.left)("top", r.top)("width", r.width)("height", r.height);
  const ui::Element* container = e.container();
  if (e.kind() == ui::ElementKind::Menu) container = static_cast<const ui::Menu&>(e).parent();
  set("container", container ? elementIds_.at(container) : 0);
  set("font", e.font())("back", colour(e.backColor()))("fore", colour(e.foreColor()));
  set("visible", e.visible())("enabled", e.enabled())("usable", e.usable() && e.shownOnScreen());
  describeKind(set, e);
}

// A shape, label or line reported changed whose drawn properties are all as the page last
// had them (changed and changed back between two frames) is left out: the page fetches
// only what it draws anew. Controls are always reported: the user edits their text,
// selection and value in the page too, and the report brings the page back to the model.
bool WebFrontEnd::drawnDifferently(int id) {
  const ui::Element* e = elementAt(id);
  if (!e) return false;
  const ui::ElementKind kind = e->kind();
  if (kind != ui::ElementKind::Shape && kind != ui::ElementKind::Label &&
      kind != ui::ElementKind::Line) {
    return true;
  }
  const Digest digest;
  describe(digest, id, *e);
  auto [it, added] = drawn_.try_emplace(id, digest.value());
  if (added) return true;
  if (it->second == digest.value()) return false;
  it->second = digest.value();
  return true;
}

val WebFrontEnd::accessibleParts(int id) const {
  auto it = parts_.find(id);
  if (it == parts_.end()) return val::undefined();
  const ui::AccessibleParts& parts = it->second;
  val d = val::object();
  val names = val::array();
  for (const ui::ControlName& n : parts.names) {
    val name = val::object();
    name.set("id", elementIds_.at(n.control));
    name.set("name", n.name);
    names.call<void>("push", name);
  }
  d.set("names", names);
  val readings = val::array();
  for (const ui::Reading& r : parts.readings) readings.call<void>("push", r.name);
  d.set("readings", readings);
  d.set("table", val::null());
  if (parts.table) {
    val table = val::object();
    table.set("name", parts.table->name);
    table.set("description", parts.table->description);
    val rows = val::array();
    for (const ui::Reading& r : parts.table->rows) rows.call<void>("push", r.name);
    table.set("rows", rows);
    d.set("table", table);
  }
  val cells = val::array();
  for (const ui::BitCell& c : parts.bitCells) {
    val cell = val::object();
    cell.set("id", elementIds_.at(c.shape));
    cell.set("one", colour(c.one));
    cells.call<void>("push", cell);
  }
  d.set("bitCells", cells);
  return d;
}

val WebFrontEnd::accessibleTexts(int id) const {
  auto it = parts_.find(id);
  if (it == parts_.end()) return val::undefined();
  const ui::AccessibleParts& parts = it->second;
  val d = val::object();
  val descriptions = val::array();
  for (const ui::ControlName& n : parts.names) {
    descriptions.call<void>("push", n.description ? n.description() : std::string());
  }
  d.set("descriptions", descriptions);
  val readings = val::array();
  for (const ui::Reading& r : parts.readings) readings.call<void>("push", r.say());
  d.set("readings", readings);
  val rows = val::array();
  if (parts.table) {
    for (const ui::Reading& r : parts.table->rows) rows.call<void>("push", r.say());
  }
  d.set("rows", rows);
  d.set("current", parts.table ? parts.table->current() : -1);
  d.set("quiet", parts.quiet && parts.quiet());
  d.set("explanation", parts.explanation ? parts.explanation() : std::string());
  return d;
}

std::string WebFrontEnd::tableNews(int id, const val& before) const {
  auto it = parts_.find(id);
  if (it == parts_.end() || !it->second.table) return {};
  const ui::ReadingTable& table = *it->second.table;
  std::vector<std::string> now;
  for (const ui::Reading& r : table.rows) now.push_back(r.say());
  return ui::tableNews(table, emscripten::vecFromJSArray<std::string>(before), now);
}

std::string WebFrontEnd::machineSummary() const { return app_.machineSummary(); }

// ---- the user's side --------------------------------------------------------------------

void WebFrontEnd::click(int id) {
  ui::Element* e = elementAt(id);
  if (!e) return;
  deliver([e] {
    switch (e->kind()) {
      case ui::ElementKind::Label: static_cast<ui::Label*>(e)->click(); break;
      case ui::ElementKind::CommandButton: static_cast<ui::CommandButton*>(e)->click(); break;
      case ui::ElementKind::OptionButton: static_cast<ui::OptionButton*>(e)->click(); break;
      case ui::ElementKind::CheckBox: static_cast<ui::CheckBox*>(e)->click(); break;
      case ui::ElementKind::TextBox: static_cast<ui::TextBox*>(e)->click(); break;
      case ui::ElementKind::Menu: static_cast<ui::Menu*>(e)->click(); break;
      default: break;
    }
  });
}

void WebFrontEnd::type(int id, const std::string& text, int caret) {
  ui::Element* e = elementAt(id);
  if (!e || e->kind() != ui::ElementKind::TextBox) return;
  deliver([e, &text, caret] { static_cast<ui::TextBox*>(e)->type(text, caret); });
}

void WebFrontEnd::select(int id, int start, int length) {
  ui::Element* e = elementAt(id);
  if (!e || e->kind() != ui::ElementKind::TextBox) return;
  deliver([e, start, length] { static_cast<ui::TextBox*>(e)->setSelection(start, length); });
}

void WebFrontEnd::focus(int id) {
  ui::Element* e = elementAt(id);
  if (!e || e->form().focused() == e) return;
  deliver([e] { e->form().setFocus(e); });
}

void WebFrontEnd::scroll(int id, int value) {
  ui::Element* e = elementAt(id);
  if (!e || e->kind() != ui::ElementKind::HScrollBar) return;
  deliver([e, value] { static_cast<ui::HScrollBar*>(e)->setValue(value); });
}

void WebFrontEnd::keyPress(int form, int ascii) {
  ui::Form* f = formAt(form);
  if (!f || !f->onKeyPress) return;
  deliver([f, ascii] { f->onKeyPress(ascii); });
}

void WebFrontEnd::help(int form) {
  ui::Form* f = formAt(form);
  if (!f || !f->onHelp) return;
  deliver([f] { f->onHelp(); });
}

void WebFrontEnd::mouseDown(int form) {
  ui::Form* f = formAt(form);
  if (!f || !f->onMouseDown) return;
  deliver([f] { f->onMouseDown(); });
}

void WebFrontEnd::formClick(int form) {
  ui::Form* f = formAt(form);
  if (!f || !f->onClick) return;
  deliver([f] { f->onClick(); });
}

void WebFrontEnd::close(int form) {
  ui::Form* f = formAt(form);
  if (f) deliver([f] { f->requestClose(); });
}

int WebFrontEnd::enterButton(int form, int focused) const {
  ui::Form* f = formAt(form);
  if (!f) return 0;
  ui::Element* e = elementAt(focused);
  const ui::CommandButton* button = f->enterButton(e && &e->form() == f ? e : nullptr);
  auto it = elementIds_.find(button);
  return it == elementIds_.end() ? 0 : it->second;
}

bool WebFrontEnd::tick(int id) {
  ui::Element* e = elementAt(id);
  if (!e || e->kind() != ui::ElementKind::Timer) return false;
  auto* timer = static_cast<ui::Timer*>(e);
  const int interval = timer->Interval();
  gate_.deliverTick([timer] { timer->tick(); });
  // The tick may have discarded the timer's screen.
  return elementAt(id) == timer && timer->enabled() && timer->Interval() == interval;
}

void WebFrontEnd::keyCommand(int form, int index) {
  ui::Form* f = formAt(form);
  if (!f || index < 0 || static_cast<std::size_t>(index) >= f->keyCommands.size()) return;
  // A copy: the command may rebuild the form's list.
  const std::function<void()> run = f->keyCommands[static_cast<std::size_t>(index)].run;
  deliver(run);
}

void WebFrontEnd::historyStepBack() {
  deliver([this] { history_.stepBack(); });
}

void WebFrontEnd::historyGoBackTo(std::size_t line) {
  deliver([this, line] { history_.goBackTo(line); });
}

void WebFrontEnd::openFailed(const std::string& name, const std::string& reason) {
  platform_.MsgBox(storage::loadFailureMessage(name, reason), storage::kProgramFileTitle);
}

bool WebFrontEnd::openLink(const std::string& fragment) {
  if (!fragment.starts_with(storage::kProgramLinkStart)) return false;
  deliver([this, &fragment] {
    const storage::LinkedProgram program = storage::readProgramLink(fragment);
    if (!program.bytes) {
      platform_.MsgBox(program.problem, storage::kProgramLinkTitle);
    } else {
      app_.openProgram(*program.bytes);
    }
  });
  return true;
}

std::string WebFrontEnd::programLink() {
  if (!app_.existingDerazoInput()) return {};
  return storage::programLink(app_.manual().memoryBytes());
}

// ---- the front end's rules, as the page asks for them --------------------------------------

namespace {

// Colours come from the page as numbers; anything but a 32-bit value is drawn as inherited.
std::string cssColor(double colour, const std::string& fallback) {
  if (!(colour >= 0 && colour <= 0xFFFFFFFF)) return fallback;
  return frontend::cssColor(static_cast<ui::Color>(colour), fallback);
}

std::string cssFontFamily(const std::string& name, double points) {
  return frontend::cssFontFamily(ui::Font{name, points, false});
}

// The rules of the windows the page adds beside the screens, and the system colours its
// style sheet takes (as custom properties), as the windows have them.
val frontEndRules() {
  const auto str = [](std::string_view s) { return val(std::string(s)); };
  const auto action = [&str](const frontend::ViewAction& a) {
    val o = val::object();
    o.set("caption", str(a.caption));
    o.set("key", str(a.key));
    return o;
  };
  val r = val::object();
  r.set("twipsPerPixel", frontend::kTwipsPerPixel);
  r.set("historyTitle", str(frontend::kHistoryTitle));
  r.set("historyHint", str(frontend::kHistoryHint));
  r.set("historyStepBack", str(frontend::kHistoryStepBack));
  r.set("historyStepBackKey", str(frontend::kHistoryStepBackKey));
  r.set("historyFirstLineKey", str(frontend::kHistoryFirstLineKey));
  r.set("historyLastLineKey", str(frontend::kHistoryLastLineKey));
  r.set("historyRefreshMs", frontend::kHistoryRefreshMs);
  r.set("announceMs", frontend::kAnnounceMs);
  r.set("viewMenu", str(frontend::kViewMenu));
  r.set("readMachineState", action(frontend::kReadMachineState));
  r.set("showBitValues", action(frontend::kShowBitValues));
  r.set("machineStateTitle", str(frontend::kMachineStateTitle));
  r.set("showProgramText", action(frontend::kShowProgramText));
  r.set("programTextTitle", str(frontend::kProgramTextTitle));
  r.set("sendProgramText", str(frontend::kSendProgramText));
  r.set("showListing", str(frontend::kShowListing));
  r.set("programTextRefreshMs", frontend::kProgramTextRefreshMs);
  r.set("showPhase", action(frontend::kShowPhase));
  r.set("phaseTitle", str(frontend::kPhaseTitle));
  r.set("noPhaseHeading", str(frontend::kNoPhaseHeading));
  r.set("noPhaseSentence", str(frontend::kNoPhaseSentence));
  val colours = val::object();
  for (const frontend::SystemColor& c : frontend::kSystemColors) colours.set(c.name, c.css);
  r.set("systemColors", colours);
  return r;
}

// tick() delivers one tick and says whether the burst goes on.
void wakeClock(frontend::pacing::Pacer& pacer, double nowMs, val tick) {
  pacer.wakeUp(nowMs, [&tick] { return tick().as<bool>(); });
}

// fits(pixels, stretch) says whether the caption fits its box in that font.
val fitCaptionFont(int pixels, val fits) {
  const frontend::CaptionFont c = frontend::fitCaptionFont(
      pixels, [&fits](frontend::CaptionFont f) { return fits(f.pixels, f.stretch).as<bool>(); });
  val font = val::object();
  font.set("pixels", c.pixels);
  font.set("stretch", c.stretch);
  return font;
}

// What a bit cell of this fill, whose 1 is `one`, shows: "1", "0" or "x".
std::string bitMark(double fill, double one) {
  return std::string(1,
                     machine::bitMark(static_cast<ui::Color>(fill), static_cast<ui::Color>(one)));
}

std::string hexOf(frontend::Rgb c) {
  return frontend::cssColor(static_cast<ui::Color>(c.red | c.green << 8 | c.blue << 16), "");
}

// A colour the themes map is named by its custom property, which the page sets from the
// theme in force (and reads once a theme).
std::string themedColor(double colour, int paint, const std::string& fallback) {
  if (!(colour >= 0 && colour <= 0xFFFFFFFF) || paint < 0 || paint > 2) return fallback;
  const auto slot = frontend::slotOf(static_cast<ui::Color>(colour), frontend::Paint(paint));
  if (!slot) return cssColor(colour, fallback);
  return std::string("var(--vp-") + frontend::slotName(*slot) + ")";
}

// A label's text on its back: on one of the machine's colours, as a digit is written there.
std::string themedText(double fore, double back, const std::string& fallback) {
  const bool known = fore >= 0 && fore <= 0xFFFFFFFF && back >= 0 && back <= 0xFFFFFFFF;
  const auto on = known ? frontend::textOnMachineColour(static_cast<ui::Color>(fore),
                                                        static_cast<ui::Color>(back))
                        : std::nullopt;
  if (on) return std::string("var(--vp-mark-") + frontend::slotName(*on) + ")";
  return themedColor(fore, static_cast<int>(frontend::Paint::Fore), fallback);
}

// The colour of that mark on the fill as the theme draws it; a bit cell is always filled
// with a fixed colour.
std::string markColor(double fill) {
  const auto slot = frontend::slotOf(static_cast<ui::Color>(fill), frontend::Paint::Fill);
  if (slot) return std::string("var(--vp-mark-") + frontend::slotName(*slot) + ")";
  return hexOf(frontend::markColor(frontend::rgbOf(static_cast<ui::Color>(fill))));
}

// The theme a choice ("system", "light", ...) stands for with the browser's preferences:
// the custom properties to set (--vp-NAME, and --vp-mark-NAME for a mark on it), whether
// cells are outlined and whether it is dark.
val themeLook(const std::string& choice, bool colourBlind, bool prefersDark, bool prefersContrast) {
  const frontend::ThemeName name =
      frontend::resolve(frontend::parseThemeChoice(choice).value_or(frontend::ThemeChoice::System),
                        prefersDark, prefersContrast);
  const frontend::Theme& theme = frontend::theme(name, colourBlind);
  val properties = val::object();
  for (int i = 0; i < frontend::kSlotCount; ++i) {
    const auto slot = static_cast<frontend::Slot>(i);
    const std::string key = frontend::slotName(slot);
    properties.set("--vp-" + key, hexOf(theme[slot]));
    properties.set("--vp-mark-" + key, hexOf(frontend::markColor(theme[slot])));
  }
  val look = val::object();
  look.set("properties", properties);
  look.set("outlined", theme.outlined);
  look.set("dark", theme.dark);
  return look;
}

}  // namespace

}  // namespace volpar::web

EMSCRIPTEN_BINDINGS(volpar) {
  // The page reads no more of a chosen file than a program file may hold, and a byte more
  // to tell a larger one.
  emscripten::constant("maxProgramFileBytes",
                       static_cast<int>(volpar::storage::kMaxProgramFileBytes));
  using volpar::web::WebFrontEnd;
  emscripten::class_<WebFrontEnd>("FrontEnd")
      .constructor<emscripten::val>()
      .function("start", &WebFrontEnd::start)
      .function("setLanguage", &WebFrontEnd::setLanguage)
      .function("takeChanges", &WebFrontEnd::takeChanges)
      .function("form", &WebFrontEnd::form)
      .function("formState", &WebFrontEnd::formState)
      .function("element", &WebFrontEnd::element)
      .function("accessibleParts", &WebFrontEnd::accessibleParts)
      .function("accessibleTexts", &WebFrontEnd::accessibleTexts)
      .function("tableNews", &WebFrontEnd::tableNews)
      .function("machineSummary", &WebFrontEnd::machineSummary)
      .function("ended", &WebFrontEnd::ended)
      .function("takeSaved", &WebFrontEnd::takeSaved)
      .function("answerFile", &WebFrontEnd::answerFile)
      .function("openFailed", &WebFrontEnd::openFailed)
      .function("answerQuestion", &WebFrontEnd::answerQuestion)
      .function("openLink", &WebFrontEnd::openLink)
      .function("programLink", &WebFrontEnd::programLink)
      .function("click", &WebFrontEnd::click)
      .function("type", &WebFrontEnd::type)
      .function("select", &WebFrontEnd::select)
      .function("focus", &WebFrontEnd::focus)
      .function("scroll", &WebFrontEnd::scroll)
      .function("keyPress", &WebFrontEnd::keyPress)
      .function("mouseDown", &WebFrontEnd::mouseDown)
      .function("help", &WebFrontEnd::help)
      .function("formClick", &WebFrontEnd::formClick)
      .function("close", &WebFrontEnd::close)
      .function("enterButton", &WebFrontEnd::enterButton)
      .function("tick", &WebFrontEnd::tick)
      .function("keyCommand", &WebFrontEnd::keyCommand)
      .function("tooltipAt", &WebFrontEnd::tooltipAt)
      .function("historyLineCount", &WebFrontEnd::historyLineCount)
      .function("historyLine", &WebFrontEnd::historyLine)
      .function("historyIsEndLine", &WebFrontEnd::historyIsEndLine)
      .function("historyRevision", &WebFrontEnd::historyRevision)
      .function("historyCanStepBack", &WebFrontEnd::historyCanStepBack)
      .function("historyStepBack", &WebFrontEnd::historyStepBack)
      .function("historyGoBackTo", &WebFrontEnd::historyGoBackTo)
      .function("openExercise", &WebFrontEnd::openExercise)
      .function("exerciseFailed", &WebFrontEnd::exerciseFailed)
      .function("check", &WebFrontEnd::check)
      .function("programTextState", &WebFrontEnd::programTextState)
      .function("sendProgramText", &WebFrontEnd::sendProgramText)
      .function("memoryListing", &WebFrontEnd::memoryListing)
      .function("phaseExplained", &WebFrontEnd::phaseExplained);
  emscripten::function("programTextProblems", &volpar::web::programTextProblems);
  emscripten::function("programTextProblemLines", &volpar::web::programTextProblemLines);
  emscripten::constant("maxExerciseFileBytes",
                       static_cast<int>(volpar::exercise::kMaxExerciseFileBytes));
  emscripten::function("exerciseWording", &volpar::web::WebExercise::wording);

  namespace pacing = volpar::frontend::pacing;
  emscripten::class_<pacing::Pacer>("ClockPacer")
      .constructor<>()
      .function("sync", &pacing::Pacer::sync)
      .function("stop", &pacing::Pacer::stop)
      .function("running", &pacing::Pacer::running)
      .function("wakeAt", &pacing::Pacer::wakeAtMs)
      .function("wakeUp", &volpar::web::wakeClock);
  emscripten::constant("CLOCK_BUSY_RETRY_MS", pacing::kBusyRetryMs);
  emscripten::function("cssColor", &volpar::web::cssColor);
  emscripten::function("cssFontFamily", &volpar::web::cssFontFamily);
  emscripten::function("fontPixels", &volpar::frontend::fontPixels);
  emscripten::function("fitCaptionFont", &volpar::web::fitCaptionFont);
  emscripten::function("frontEndRules", &volpar::web::frontEndRules);
  emscripten::function("bitMark", &volpar::web::bitMark);
  emscripten::function("markColor", &volpar::web::markColor);
  emscripten::function("themedColor", &volpar::web::themedColor);
  emscripten::function("themeLook", &volpar::web::themeLook);
  emscripten::function("themedText", &volpar::web::themedText);
}
