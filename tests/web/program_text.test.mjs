// SPDX-License-Identifier: GPL-3.0-or-later
// The Program Text panel (F6) and the phase panel (F7) used as a student would, as
// tests/data/web/program_text.txt tells.
import { test } from 'node:test';
import { useBrowser } from './browser.mjs';

const session = useBrowser();

test('F6 lists memory, sends a program, lists a mistake and follows the run; F7 explains the phase', async () => {
  await (await session.atInputScreen()).play('program_text');
});
