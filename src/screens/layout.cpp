// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/layout.h"

#include <utility>

namespace volpar::screens {

void put(ui::Element& e, ui::Rect r, ui::Frame* in) {
  e.setContainer(in);
  e.place(r.left, r.top, r.width, r.height);
}

void putLabel(ui::Label& l, std::string caption, ui::Rect r, ui::Color back, ui::Frame* in) {
  put(l, r, in);
  l.setCaption(std::move(caption));
  l.setBackColor(back);
}

void putButton(ui::CommandButton& b, std::string caption, ui::Rect r, ui::Color back,
               ui::Frame* in) {
  put(b, r, in);
  b.setCaption(std::move(caption));
  b.setBackColor(back);
}

void putFrame(ui::Frame& f, std::string caption, ui::Rect r, ui::Color back) {
  put(f, r);
  f.setCaption(std::move(caption));
  f.setBackColor(back);
}

}  // namespace volpar::screens
