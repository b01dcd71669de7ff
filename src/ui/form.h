// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/accessible_parts.h"
#include "ui/element.h"

namespace volpar::ui {

class Form;

struct Point {
  int x = 0;
  int y = 0;
};

class Form {
 public:
  explicit Form(std::string name);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form() = default;

  const std::string& name() const { return name_; }

  const std::string& Caption() const { return caption_; }
  void setCaption(std::string caption) { caption_ = std::move(caption); }
  Color BackColor() const { return backColor_; }
  void setBackColor(Color c) { backColor_ = c; }
  const Font& font() const { return font_; }
  void setFont(const Font& f) { font_ = f; }
  int clientWidth() const { return clientWidth_; }
  int clientHeight() const { return clientHeight_; }
  void setClientSize(int width, int height);
  // Where the window opens on the screen, in twips; none lets the system place it.
  const std::optional<Point>& position() const { return position_; }
  void setPosition(int left, int top) { position_ = Point{left, top}; }

  bool Visible() const { return visible_; }
  void Show();  // show and bring to the front
  void Hide();

  // Every element in the order it was created: the order of drawing.
  const std::vector<Element*>& elements() const { return elements_; }

  Element* focused() const { return focused_; }
  void setFocus(Element* element);

  // Tab moves through these elements in this order, passing over hidden ones; with none
  // given, the window's own order holds.
  const std::vector<Element*>& tabOrder() const { return tabOrder_; }
  void setTabOrder(std::vector<Element*> order) { tabOrder_ = std::move(order); }

  CommandButton* defaultButton() const { return defaultButton_; }
  void setDefaultButton(CommandButton* button) {
    if (button != defaultButton_) changeDefaultButton(button);
  }
  // The button Enter presses while `focused` has the focus: that button itself, else the
  // default button. A form may hand Enter in one of its boxes to another button.
  virtual CommandButton* enterButton(Element* focused);

  // The language changed: a form recomposes here the texts it composes itself from words
  // and values (its fixed captions stay in English in the model and are translated where
  // they are drawn).
  virtual void languageChanged() {}

  // Two listeners with two roles: the observer (a renderer) hears of a change after it,
  // the recorder (an undo journal) before it, with the value it replaces.
  void setObserver(FormObserver* observer) { listeners_.observer = observer; }
  FormObserver* observer() const { return listeners_.observer; }
  void setRecorder(ChangeRecorder* recorder) { listeners_.recorder = recorder; }
  ChangeRecorder* recorder() const { return listeners_.recorder; }
  // Puts back a value of the form's own properties (FormVisible, Focus, DefaultButton)
  // that the recorder was given; no handler runs.
  void restore(Property property, const PropertyValue& value);

  // What a form offers beyond its elements and menus, for a front end to present its own
  // way: keys that run a command ("F2", "Ctrl+Z"; a front end binds those it can), and a
  // tooltip for a point of the form (in twips) with the part of the form it speaks of.
  struct KeyCommand {
    std::string keys;
    std::function<void()> run;
  };
  std::vector<KeyCommand> keyCommands;
  struct Tooltip {
    std::string text;
    Rect area;
  };
  std::function<std::optional<Tooltip>(Point)> tooltipAt;
  // What a screen reader finds of the form beyond its controls (see accessible_parts.h).
  std::function<AccessibleParts()> accessibleParts;
  // Where the form stands when two screens share the desk: 0 on the left, 1 on the right;
  // -1 for a form that stands alone.
  int sideBySide = -1;
  // The form holds the program in memory: a front end offers to share it (a link) there.
  bool holdsProgram = false;

  // Events of the window itself, raised by the renderer or a test.
  std::function<void()> onUnload;       // the user closes the window
  std::function<void(int)> onKeyPress;  // a key, while the window is active
  std::function<void()> onMouseDown;    // a mouse button on the background
  std::function<void()> onClick;        // a click on the background
  std::function<void()> onHelp;         // F1, while the window is active
  // The user closes the window. A form without an unload handler (the welcome screen) is
  // only hidden.
  void requestClose() {
    if (onUnload) {
      onUnload();
    } else {
      Hide();
    }
  }

  // Called by Element; not for general use.
  void registerElement(Element* element) { elements_.push_back(element); }
  const FormListeners& listeners() const { return listeners_; }
  void notifyChanged(Element& element) {
    if (listeners_.observer) listeners_.observer->elementChanged(element);
  }

 private:
  void notify(FormObserver::FormEvent event);
  void changeDefaultButton(CommandButton* button);
  void willChange(Property property, const PropertyValue& old) {
    if (listeners_.recorder) listeners_.recorder->willChange(*this, nullptr, property, old);
  }

  std::string name_;
  std::string caption_;
  Color backColor_ = kButtonFace;
  Font font_;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  std::optional<Point> position_;
  bool visible_ = false;
  std::vector<Element*> elements_;
  std::vector<Element*> tabOrder_;
  Element* focused_ = nullptr;
  CommandButton* defaultButton_ = nullptr;
  FormListeners listeners_;
};

}  // namespace volpar::ui
