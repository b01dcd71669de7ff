// SPDX-License-Identifier: GPL-3.0-or-later
// The page's traps for a student who works by keyboard and screen reader, as
// tests/data/web/a11y-traps.txt tells: Send to Memory says what it stored, a box reached by
// Tab takes its whole value, a message box is read with its message and gives the focus
// back, F3's state is read with the caret, the focus goes on to Begin after OK, and Ctrl+F6
// says which screen came forward; and the focus never falls to the page, after Options
// closes or while the clock runs.
import { playEach, useBrowser } from './browser.mjs';

playEach(useBrowser(), {
  'a11y-traps': 'the traps of the keyboard and the screen reader are gone',
  'a11y-focus': 'the focus stays in the page after Options closes and while the clock runs',
});
