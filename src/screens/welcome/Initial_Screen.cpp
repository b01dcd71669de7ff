#include "screens/welcome/Initial_Screen.h"

namespace volpar {

Initial_Screen::Initial_Screen(Screens& screens) : ui::Form("Initial_Screen"), screens_(screens) {
  layOut();
  connectHandlers();
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

void Initial_Screen::Form_Load() {}
void Initial_Screen::Form_KeyPress(int) {}
void Initial_Screen::Form_MouseDown() {}
void Initial_Screen::Label_Any_key_Click() {}
void Initial_Screen::Version_Click() {}
void Initial_Screen::Form_Click() {}
void Initial_Screen::Label_Welcome_Click() {}
void Initial_Screen::Address_Click() {}
void Initial_Screen::handOver() {}

}  // namespace volpar
