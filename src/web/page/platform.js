// SPDX-License-Identifier: GPL-3.0-or-later
// The system as the program asks for it: what the program's platform calls in the page.
import { app, $ } from './state.js';
import { askToSave, showMessage } from './boxes.js';
import { chooseOpen, chooseSave } from './files.js';
import { chooseExercise } from './exercise_panel.js';
import { showEnded } from './desk.js';
import { openHistory } from './history_panel.js';
import { fill, tr } from './texts.js';

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

// The help in the language in use where it has been written in it (help/CODE/FILE), else
// in English.
function fetchHelp(file) {
  const code = app.module.language();
  const local = code === 'en' || code === 'x-pseudo' ? null : `help/${code}/${file}`;
  const english = () => fetch(file);
  return (local ? fetch(local).then((r) => (r.ok ? r : english()), english) : english()).then((r) => {
    if (!r.ok) throw new Error(r.statusText);
    return r.text();
  });
}

function showHelp(file, context) {
  const help = $('#help');
  const frame = help.querySelector('iframe');
  fetchHelp(file)
    .then((html) => {
      if (!html.trim()) throw new Error('empty');
      frame.onload = () => frame.contentDocument.getElementsByName(`topic-${context}`)[0]?.scrollIntoView();
      frame.srcdoc = html;
      help.hidden = false;
    })
    .catch(() => showMessage(fill(tr('The help file %1 could not be opened.'), file), tr('VOLPAR Help')));
}
