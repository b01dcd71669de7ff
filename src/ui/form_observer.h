// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/change_recorder.h"

namespace volpar::ui {

class Element;
class Form;

// What a renderer hears from a form. Element changes come one per real property change;
// the renderer repaints just that element.
class FormObserver {
 public:
  enum class FormEvent { Shown, Hidden, BroughtToFront, FocusChanged };
  virtual ~FormObserver() = default;
  virtual void elementChanged(Element& element) = 0;
  virtual void formChanged(Form& form, FormEvent event) = 0;
};

// A form's two listeners. Every element of the form keeps a pointer to them, so that a
// setter reaches them without a call into the form.
struct FormListeners {
  FormObserver* observer = nullptr;    // hears of a change after it
  ChangeRecorder* recorder = nullptr;  // hears of a change before it, with the old value
};

}  // namespace volpar::ui
