// SPDX-License-Identifier: GPL-3.0-or-later
// VOLPAR in the browser: draws every form of the program from its element model, and
// hands the user's clicks, keys and edits and the clock's ticks back to it. The program
// itself, with every rule of the machine, runs as WebAssembly; this page only shows it.
import createVolpar from './volpar.js';
import { app, $, rules } from './state.js';
import { afterEachEvent, deliver, hookEvents } from './events.js';
import { bringToFront, flush, showEnded } from './desk.js';
import { hookBoxes, settleBoxes } from './boxes.js';
import { handSaved, hookFiles } from './files.js';
import { syncClocks } from './clock.js';
import { onKeyDown } from './keys.js';
import { page } from './platform.js';
import { hookDeskLayout } from './desk_layout.js';
import { installHistoryPanel } from './history_panel.js';
import { hookShare, openLinkedProgram } from './share.js';
import { workOffline } from './offline.js';
import './a11y_mirror.js';
import { hookMachineState } from './machine_state.js';
import { hookBitValues } from './bit_values.js';
import { hookTheme } from './theme.js';
import './help_keys.js';
import { hookProgramText } from './program_text_panel.js';
import { hookPhase } from './phase_panel.js';
import { fill, tr } from './texts.js';
import { chooseLanguage, hookLanguage, startLanguage } from './language.js';
import './page_texts.js';

// The program's tables, and the system colours as the style sheet's custom properties.
function useRules() {
  Object.assign(rules, app.module.frontEndRules());
  for (const [name, colour] of Object.entries(rules.systemColors)) {
    document.documentElement.style.setProperty(`--sys-${name}`, colour);
  }
}

// For tests and measurements: the time the first screen stood, the clocks, an element as
// the program holds it now, to compare with what is drawn, and the language chosen.
function exposeForTests() {
  window.volpar = {
    startedMs: performance.now(),
    clocks: app.clocks,
    forms: app.forms,
    views: app.views,
    flush,
    element: (id) => app.fe.element(id),
    themeLook: (...args) => app.module.themeLook(...args),
    chooseLanguage,
  };
}

async function start() {
  app.module = await createVolpar();
  useRules();
  hookTheme();
  hookEvents({ draw: flush, settleBoxes });
  hookMachineState();
  hookBitValues();
  hookProgramText();
  hookPhase();
  hookFiles();
  hookBoxes();
  installHistoryPanel();
  hookShare();
  hookLanguage();
  app.fe = new app.module.FrontEnd(page);
  startLanguage();
  afterEachEvent(handSaved);
  afterEachEvent(() => {
    if (app.fe.ended()) showEnded();
  });
  afterEachEvent(syncClocks);
  $('#loading').remove();
  document.addEventListener('keydown', onKeyDown);
  $('#help-close').addEventListener('click', () => {
    $('#help').hidden = true;
    app.frontForm?.applyFocus();
  });
  hookDeskLayout(bringToFront);
  deliver(() => app.fe.start());
  flush();
  openLinkedProgram();
  workOffline();
  exposeForTests();
}

start().catch((error) => {
  $('#desk').textContent = fill(tr('VOLPAR could not start: %1'), error);
});
