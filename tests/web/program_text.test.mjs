// SPDX-License-Identifier: GPL-3.0-or-later
// The Program Text panel (F6) and the phase panel (F7) used as a student would, as
// tests/data/web/program_text.txt tells.
import { playEach, useBrowser } from './browser.mjs';

playEach(useBrowser(), {
  program_text: 'F6 lists memory, sends a program, lists a mistake and follows the run; F7 explains the phase',
});
