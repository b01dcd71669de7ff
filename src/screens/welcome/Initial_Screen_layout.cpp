// SPDX-License-Identifier: GPL-3.0-or-later
// The welcome screen as it is when created. Its load step replaces the version text.
#include "i18n/text.h"
#include "screens/welcome/Initial_Screen.h"

namespace volpar {

void Initial_Screen::layOut() {
  // The system's default back colour and font are the form's own defaults.
  setCaption(i18n::mark("VOLPAR Educational Systems"));
  setClientSize(11340, 6960);
  setPosition(1005, 1470);

  Label_Welcome.place(2040, 1080, 8055, 615);
  Label_Welcome.setCaption(i18n::mark("Welcome to the VOLPAR Computer"));
  Label_Welcome.setFont(ui::Font{"MS Sans Serif", 24, false});

  Version.place(5400, 1680, 1095, 285);
  Version.setText(" Version 1.05");
  Version.setBackColor(ui::kLightGrey);
  // Only shows the version: no caret or focus frame in it when the screen opens.
  Version.setTabStop(false);

  Label_Any_key.place(4080, 3120, 4230, 435);
  Label_Any_key.setCaption(i18n::mark("Press Any Key to Continue"));
  Label_Any_key.setFont(ui::Font{"MS Sans Serif", 18, false});

  Address.place(4680, 4560, 2895, 1815);
  Address.setMultiLine(true);
  Address.setBackColor(ui::kGreen);
  Address.setTabStop(false);
  Address.setText(
      i18n::mark("VOLPAR\n"
                 "A teaching tool that shows how\n"
                 "a stored-program computer\n"
                 "runs, phase by phase.\n"
                 "\n"
                 "Free to use in classrooms\n"
                 "and for private study."));
}

}  // namespace volpar
