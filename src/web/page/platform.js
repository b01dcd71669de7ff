// SPDX-License-Identifier: GPL-3.0-or-later
// The system as the program asks for it: what the program's platform calls in the page.
import { app, $ } from './state.js';
import { askToSave, showMessage } from './boxes.js';
import { chooseOpen, chooseSave } from './files.js';
import { chooseExercise } from './exercise_panel.js';
import { showEnded } from './desk.js';
import { openHistory } from './history_panel.js';

export const page = {
  msgBox: showMessage,
  failure(text) {
    showMessage(text, 'VOLPAR');
  },
  askToSave,
  chooseOpen,
  chooseSave,
  chooseExercise,
  showHelp,
  showHistory: openHistory,
  ended() {
    app.programEnded = true;
    showEnded();
  },
};

function showHelp(file, context) {
  const help = $('#help');
  const frame = help.querySelector('iframe');
  fetch(file)
    .then((r) => {
      if (!r.ok) throw new Error(r.statusText);
      return r.text();
    })
    .then((html) => {
      if (!html.trim()) throw new Error('empty');
      frame.onload = () => frame.contentDocument.getElementsByName(`topic-${context}`)[0]?.scrollIntoView();
      frame.srcdoc = html;
      help.hidden = false;
    })
    .catch(() => showMessage(`The help file ${file} could not be opened.`, 'VOLPAR Help'));
}
