// SPDX-License-Identifier: GPL-3.0-or-later
// The words of the page's own frame and boxes (index.html), written in the language in use.
import { $ } from './state.js';
import { onLanguage, tr } from './texts.js';

const text = (selector, words) => ($(selector).textContent = words);
const label = (selector, words) => $(selector).setAttribute('aria-label', words);

function writeFrame() {
  label('#tabs', tr('Windows'));
  text('#help header span', tr('VOLPAR Help'));
  label('#help-close', tr('Close help'));
  $('#help iframe').title = tr('VOLPAR Help');
  text('#ended p', tr('VOLPAR has ended — reload to start again'));
}

function writeBoxes() {
  text('#msgbox footer button', tr('OK'));
  text('#savebox .title', tr('Save program'));
  text('#savebox label span', tr('File name:'));
  text('#savebox button[value=save]', tr('Save'));
  text('#savebox button[value=cancel]', tr('Cancel'));
  text('#questionbox button[value=save]', tr('Save'));
  text('#questionbox button[value=discard]', tr("Don't Save"));
  text('#questionbox button[value=cancel]', tr('Cancel'));
  text('#sharebox .title', tr('Share program'));
  text(
    '#sharebox .body p:not(.status)',
    tr(
      'Whoever opens this link gets the program now in memory. The program travels in the link itself: nothing is sent anywhere.',
    ),
  );
  label('#sharebox input', tr('Link'));
  text('#sharebox footer button', tr('OK'));
}

onLanguage(() => {
  writeFrame();
  writeBoxes();
});
