// SPDX-License-Identifier: GPL-3.0-or-later
// The desk at every tab width and browser zoom, as a student sees it: the execution screen
// and the memory side by side where the tab is wide enough, one at a time where not, and a
// drawing that grows with the zoom and scrolls to every control (tests/data/web/desk-*.txt).
import { playEach, useBrowser } from './browser.mjs';

playEach(useBrowser(), {
  'desk-sizes': 'side by side where both fit at their drawn size, one at a time elsewhere',
  'desk-front':
    'side by side, the front screen takes the focus and the keys; a tab, Ctrl+F6 or a press brings the other',
  'desk-resize': 'a resize between the arrangements keeps what the screens hold, the focus and the screen in front',
  'desk-zoom': 'browser zoom enlarges the machine, which scrolls to every control; a denser screen is no zoom',
});
