// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/welcome/Initial_Screen.h"

#include <string>

#include "i18n/text.h"
#include "machine/REXEC_Manual.h"
#include "screens/execution/REXEC.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/machine_reading.h"
#include "screens/screens.h"
#include "ui/platform.h"

namespace volpar {

Initial_Screen::Initial_Screen(Screens& screens) : ui::Form("Initial_Screen"), screens_(screens) {
  layOut();
  connectHandlers();
  accessibleParts = [this] { return screens::welcomeParts(*this); };
}

void Initial_Screen::connectHandlers() {
  onKeyPress = [this](int key) { Form_KeyPress(key); };
  onMouseDown = [this] { Form_MouseDown(); };
  onClick = [this] { Form_Click(); };
  Label_Any_key.onClick = [this] { Label_Any_key_Click(); };
  Version.onClick = [this] { Version_Click(); };
  Label_Welcome.onClick = [this] { Label_Welcome_Click(); };
  Address.onClick = [this] { Address_Click(); };
}

// Prepares the whole program: the input screen opens (behind this one, which is shown
// in front when the start-up finishes) and the execution screen is created hidden.
void Initial_Screen::Form_Load() {
  REXEC_Manual& manual = screens_.manual();
  manual.Text_Driving_Bits = false;
  manual.Bits_Driving_Text = false;
  showVersion();
  Label_Welcome.setVisible(true);
  Label_Any_key.setVisible(true);
  screens_.derazoInput();
  screens_.rexec();
  manual.At_Phase_Zero = true;
}

void Initial_Screen::showVersion() {
  const ui::Version v = screens_.platform().version();
  const std::string number =
      std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.revision);
  Version.setText(i18n::fill(i18n::tr("Version %1"), {number}));
}

void Initial_Screen::languageChanged() { showVersion(); }

void Initial_Screen::handOver() {
  screens_.derazoInput().Show();
  Hide();
}

void Initial_Screen::Form_KeyPress(int) { handOver(); }
void Initial_Screen::Form_MouseDown() { handOver(); }
void Initial_Screen::Label_Any_key_Click() { handOver(); }
void Initial_Screen::Version_Click() { handOver(); }

void Initial_Screen::Form_Click() {
  handOver();
  DERAZO_Input& input = screens_.derazoInput();
  input.Input_Bit(1).SetFocus();
  input.Input_Bit(1).setSelection(0, 1);
}

void Initial_Screen::Label_Welcome_Click() { Form_Click(); }

// Discarding the welcome screen does not end the program.
void Initial_Screen::Address_Click() {
  screens_.derazoInput().Show();
  screens_.unloadInitialScreen();
}

}  // namespace volpar
