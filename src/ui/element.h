// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <climits>
#include <functional>
#include <string>
#include <string_view>

#include "ui/change_recorder.h"
#include "ui/colors.h"
#include "ui/form_observer.h"

namespace volpar::ui {

class Form;
class Frame;

enum class ElementKind {
  Label,
  Shape,
  Line,
  CommandButton,
  OptionButton,
  CheckBox,
  HScrollBar,
  TextBox,
  Frame,
  Timer,
  Menu,
  CommonDialog,
};

// Position and size in twips, relative to the container (form client area or frame).
struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
  bool contains(int x, int y) const {
    return x >= left && x < left + width && y >= top && y < top + height;
  }
  // The smallest box that holds both.
  Rect united(const Rect& other) const;
};

struct Font {
  std::string name = "MS Sans Serif";
  double points = 8.25;
  bool bold = false;
  bool operator==(const Font&) const = default;
};

// One named element of a form. Setting a property to the value it already holds does
// nothing; any real change tells the form's observer which element changed.
class Element {
 public:
  static constexpr int kNoIndex = INT_MIN;

  Element(Form& form, ElementKind kind, std::string name, int index = kNoIndex);
  Element(const Element&) = delete;
  Element& operator=(const Element&) = delete;
  virtual ~Element() = default;

  ElementKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  int index() const { return index_; }
  bool isArrayElement() const { return index_ != kNoIndex; }
  std::string displayName() const;  // "Shape1(5)" or "Timer1"
  Form& form() const { return *form_; }

  const Rect& rect() const { return rect_; }
  // The element's box in the form's own coordinates, through the frames that hold it.
  Rect formRect() const;
  void place(int left, int top, int width, int height);
  Frame* container() const { return container_; }
  void setContainer(Frame* frame) { container_ = frame; }

  // Font of the element; the form's font when none was given.
  const Font& font() const;
  void setFont(const Font& font);

  Color backColor() const { return backColor_; }
  void setBackColor(Color c);
  Color foreColor() const { return foreColor_; }
  void setForeColor(Color c);

  bool visible() const { return visible_; }
  void setVisible(bool v);
  bool enabled() const { return enabled_; }
  void setEnabled(bool e) {
    if (e == enabled_) return;
    willChange(Property::Enabled, std::int64_t{enabled_});
    enabled_ = e;
    changed();
  }

  // Visible, and every frame around it visible too.
  bool shownOnScreen() const;
  // Enabled, and every frame around it enabled too: whether a user can reach it.
  bool usable() const;

  // Give this element the keyboard focus on its form.
  void SetFocus();

  // Puts back a value a recorder was given: no handler runs, and the form's observer hears
  // of it as of any change.
  void restore(Property property, const PropertyValue& value);

 protected:
  // After a real change: tells the form's observer, if one listens.
  void changed() {
    if (FormObserver* observer = listeners_->observer) observer->elementChanged(*this);
  }
  // Before a real change: tells the form's recorder, if one listens, the value held now.
  // The value is wrapped (a text copied) only when one listens.
  template <class T>
  void willChange(Property property, const T& old) {
    if (listeners_->recorder) [[unlikely]]
      recordChange(property, PropertyValue(old));
  }
  // A text property takes a new value: compared first, copied only when it differs. The
  // comparison stays inline, where a caption that is a literal compares in a few steps.
  void changeText(Property property, std::string& text, std::string_view value) {
    if (std::string_view(text) != value) replaceText(property, text, value);
  }
  // A subclass puts back its own properties here; false for one it does not have.
  virtual bool restoreOwn(Property, const PropertyValue&) { return false; }

 private:
  void recordChange(Property property, const PropertyValue& old);
  void replaceText(Property property, std::string& text, std::string_view value);

  Form* form_;
  const FormListeners* listeners_;  // the form's own
  ElementKind kind_;
  std::string name_;
  int index_;
  Rect rect_;
  Frame* container_ = nullptr;
  Font font_;
  bool hasFont_ = false;
  Color backColor_ = kInherit;
  Color foreColor_ = kInherit;
  bool visible_ = true;
  bool enabled_ = true;
};

// A circle with a solid fill: a bit cell, decoder cell, phase cell, clock cell or lamp.
class Shape : public Element {
 public:
  Shape(Form& form, std::string name, int index = kNoIndex)
      : Element(form, ElementKind::Shape, std::move(name), index) {}
  Color FillColor() const { return fill_; }
  void setFillColor(Color c) {
    if (c == fill_) return;
    willChange(Property::FillColor, std::int64_t{fill_});
    fill_ = c;
    changed();
  }

 protected:
  bool restoreOwn(Property property, const PropertyValue& value) override;

 private:
  Color fill_ = kWhite;
};

class Label : public Element {
 public:
  Label(Form& form, std::string name, int index = kNoIndex)
      : Element(form, ElementKind::Label, std::move(name), index) {}
  const std::string& Caption() const { return caption_; }
  void setCaption(std::string_view caption) { changeText(Property::Caption, caption_, caption); }
  std::function<void()> onClick;
  void click();

 protected:
  bool restoreOwn(Property property, const PropertyValue& value) override;

 private:
  std::string caption_;
};

// A straight line in form coordinates; drawn once, never changed.
class Line : public Element {
 public:
  Line(Form& form, std::string name, int x1, int y1, int x2, int y2);
  int x1() const { return x1_; }
  int y1() const { return y1_; }
  int x2() const { return x2_; }
  int y2() const { return y2_; }

 private:
  int x1_, y1_, x2_, y2_;
};

class CommandButton : public Element {
 public:
  CommandButton(Form& form, std::string name, int index = kNoIndex)
      : Element(form, ElementKind::CommandButton, std::move(name), index) {}
  const std::string& Caption() const { return caption_; }
  void setCaption(std::string_view caption) { changeText(Property::Caption, caption_, caption); }
  // The form's default button, pressed by Enter. Making one default clears the others.
  bool Default() const;
  void setDefault(bool d);
  std::function<void()> onClick;
  // A press by the user: a button that is hidden or disabled does nothing.
  void click();

 protected:
  bool restoreOwn(Property property, const PropertyValue& value) override;

 private:
  std::string caption_;
};

class TextBox : public Element {
 public:
  TextBox(Form& form, std::string name, int index = kNoIndex)
      : Element(form, ElementKind::TextBox, std::move(name), index) {}
  const std::string& Text() const { return text_; }
  // A different text raises the change handler before this returns; the same text
  // raises nothing. The caret goes to the start, as after any program write.
  void setText(std::string text);
  // What a user's edit does: the caret where the user left it, then the new text. It
  // raises the change handler even when the edit left the text as it was.
  void type(std::string text, int caret);
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  void setSelection(int start, int length);
  int MaxLength() const { return maxLength_; }  // 0: no limit
  void setMaxLength(int n) { maxLength_ = n; }
  bool MultiLine() const { return multiLine_; }
  void setMultiLine(bool m) { multiLine_ = m; }
  // False: Tab passes the box by and a window opening does not put the focus into it; a
  // click still may.
  bool TabStop() const { return tabStop_; }
  void setTabStop(bool t) { tabStop_ = t; }
  std::function<void()> onChange;
  std::function<void()> onClick;
  void click();

 protected:
  bool restoreOwn(Property property, const PropertyValue& value) override;

 private:
  std::string text_;
  int selStart_ = 0;
  int selLength_ = 0;
  int maxLength_ = 0;
  bool multiLine_ = false;
  bool tabStop_ = true;
};

// One of a group of option buttons: those that share a container.
class OptionButton : public Element {
 public:
  OptionButton(Form& form, std::string name, int index = kNoIndex)
      : Element(form, ElementKind::OptionButton, std::move(name), index) {}
  const std::string& Caption() const { return caption_; }
  void setCaption(std::string_view caption) { changeText(Property::Caption, caption_, caption); }
  bool Value() const { return value_; }
  // Selecting clears the others of the group and raises the click handler.
  void setValue(bool v);
  std::function<void()> onClick;
  void click();  // a user's selection

 protected:
  bool restoreOwn(Property property, const PropertyValue& value) override;

 private:
  std::string caption_;
  bool value_ = false;
};

class CheckBox : public Element {
 public:
  CheckBox(Form& form, std::string name, int index = kNoIndex)
      : Element(form, ElementKind::CheckBox, std::move(name), index) {}
  const std::string& Caption() const { return caption_; }
  void setCaption(std::string_view caption) { changeText(Property::Caption, caption_, caption); }
  int Value() const { return value_; }  // 0 unchecked, 1 checked
  void setValue(int v);
  std::function<void()> onClick;
  void click();  // a user's click toggles the box

 protected:
  bool restoreOwn(Property property, const PropertyValue& value) override;

 private:
  std::string caption_;
  int value_ = 0;
};

class HScrollBar : public Element {
 public:
  HScrollBar(Form& form, std::string name, int index = kNoIndex)
      : Element(form, ElementKind::HScrollBar, std::move(name), index) {}
  int Min() const { return min_; }
  int Max() const { return max_; }
  int SmallChange() const { return small_; }
  int LargeChange() const { return large_; }
  void setRange(int min, int max, int smallChange, int largeChange);
  int Value() const { return value_; }
  // Clamped to the range; a change raises the change handler.
  void setValue(int v);
  std::function<void()> onChange;

 protected:
  bool restoreOwn(Property property, const PropertyValue& value) override;

 private:
  int min_ = 0, max_ = 32767, small_ = 1, large_ = 1;
  int value_ = 0;
};

class Frame : public Element {
 public:
  Frame(Form& form, std::string name, int index = kNoIndex)
      : Element(form, ElementKind::Frame, std::move(name), index) {}
  const std::string& Caption() const { return caption_; }
  void setCaption(std::string_view caption) { changeText(Property::Caption, caption_, caption); }

 protected:
  bool restoreOwn(Property property, const PropertyValue& value) override;

 private:
  std::string caption_;
};

// Fires a tick event while enabled, every Interval milliseconds. The ticks come from
// whoever drives the clock: the windows' event loop, or a test.
class Timer : public Element {
 public:
  Timer(Form& form, std::string name, int index = kNoIndex)
      : Element(form, ElementKind::Timer, std::move(name), index) {}
  int Interval() const { return interval_; }
  void setInterval(int ms);
  std::function<void()> onTimer;
  // One tick: runs the handler when the timer is enabled.
  void tick();

 protected:
  bool restoreOwn(Property property, const PropertyValue& value) override;

 private:
  int interval_ = 0;
};

// A menu title or menu item; items name their menu as parent.
class Menu : public Element {
 public:
  Menu(Form& form, std::string name, Menu* parent = nullptr)
      : Element(form, ElementKind::Menu, std::move(name)), parent_(parent) {}
  Menu* parent() const { return parent_; }
  const std::string& Caption() const { return caption_; }
  void setCaption(std::string_view caption) { changeText(Property::Caption, caption_, caption); }
  const std::string& Shortcut() const { return shortcut_; }  // "Ctrl+O", "F1", or empty
  void setShortcut(std::string s) { shortcut_ = std::move(s); }
  int HelpContextID() const { return helpContext_; }
  void setHelpContextID(int id) { helpContext_ = id; }
  std::function<void()> onClick;
  void click();

 protected:
  bool restoreOwn(Property property, const PropertyValue& value) override;

 private:
  Menu* parent_;
  std::string caption_;
  std::string shortcut_;
  int helpContext_ = 0;
};

// The file dialog component: no place on the screen, it keeps its settings and the
// file name last chosen between uses.
class CommonDialog : public Element {
 public:
  CommonDialog(Form& form, std::string name)
      : Element(form, ElementKind::CommonDialog, std::move(name)) {}
  std::string FileName;
  std::string Filter;
  std::string DefaultExt;
  std::string InitDir;
  // The open dialog takes only a file that exists; the save dialog asks before it lets
  // the user choose one that exists.
  bool PathMustExist = false;
  bool OverwritePrompt = false;
};

}  // namespace volpar::ui
