// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/element.h"
#include "ui/form.h"

namespace volpar {

class Screens;

// The welcome screen: prepares the program and hands over to the input screen.
class Initial_Screen : public ui::Form {
 public:
  explicit Initial_Screen(Screens& screens);

  ui::Label Label_Welcome{*this, "Label_Welcome"};
  ui::TextBox Version{*this, "Version"};
  ui::Label Label_Any_key{*this, "Label_Any_key"};
  ui::TextBox Address{*this, "Address"};

  void Form_Load();
  void Form_KeyPress(int KeyAscii);
  void Form_MouseDown();
  void Label_Any_key_Click();
  void Version_Click();
  void Form_Click();
  void Label_Welcome_Click();
  void Address_Click();

  void languageChanged() override;

 private:
  void handOver();
  void showVersion();
  void layOut();
  void connectHandlers();

  Screens& screens_;
};

}  // namespace volpar
