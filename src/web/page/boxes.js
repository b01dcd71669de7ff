// SPDX-License-Identifier: GPL-3.0-or-later
// The page's modal boxes: while one is open nothing else happens; when the last closes,
// the screens catch up and the focus goes back where it was.
import { app, $ } from './state.js';
import { deliver, drawNow, requestFrame } from './events.js';

const msgbox = $('#msgbox');
const questionbox = $('#questionbox');
const boxQueue = [];

const closing = new Map(); // box → what follows its closing

// Where the focus was when the first box opened: it goes back there if the screen in
// front has no control of its own to take it.
let focusBefore = null;

export function openBox(dialog) {
  if (!app.modal) focusBefore = document.activeElement;
  ++app.modal;
  dialog.volparOpen = true;
  dialog.showModal();
}

// What follows when the box closes. A box closes at once when its button is pressed, but
// the browser tells so a moment later ('close'): a key or click in between is taken after
// the box's own follow-up (settleBoxes), not lost as if the box were still open.
export function whenClosed(dialog, followUp) {
  const settle = () => {
    if (!dialog.volparOpen || dialog.open) return;
    dialog.volparOpen = false;
    followUp();
  };
  closing.set(dialog, settle);
  dialog.addEventListener('close', settle);
}

export function settleBoxes() {
  if (!app.modal) return;
  for (const settle of closing.values()) settle();
}

export function closedBox() {
  --app.modal;
  if (app.modal) return;
  if (boxQueue.length) {
    showNextBox();
    return;
  }
  requestFrame();
  app.frontForm?.applyFocus();
  if (document.activeElement === document.body && focusBefore?.isConnected) focusBefore.focus();
}

function showNextBox() {
  const { text, title } = boxQueue.shift();
  msgbox.querySelector('.title').textContent = title;
  msgbox.querySelector('.text').textContent = text;
  openBox(msgbox);
  msgbox.querySelector('button').focus();
}

// The screens show what they show now until the box is closed; nothing else happens.
export function showMessage(text, title) {
  app.boxRaised = true;
  if (!app.modal) drawNow();
  boxQueue.push({ text, title });
  if (boxQueue.length === 1 && !app.modal) showNextBox();
}

// Save or Don't Save delivers the event again, with the answer before each delivery (a save
// dialog on the way delivers it once more); Cancel, Escape and closing change nothing.
export function askToSave(text, title) {
  questionbox.querySelector('.title').textContent = title;
  questionbox.querySelector('.text').textContent = text;
  questionbox.pendingEvent = app.currentEvent;
  questionbox.returnValue = '';
  openBox(questionbox);
  questionbox.querySelector('button[value=save]').focus();
}

export function hookBoxes() {
  whenClosed(msgbox, closedBox);
  whenClosed(questionbox, () => {
    const answer = questionbox.returnValue;
    const event = questionbox.pendingEvent;
    closedBox();
    if (!event || (answer !== 'save' && answer !== 'discard')) return;
    deliver(() => {
      app.fe.answerQuestion(answer === 'save');
      return event();
    });
  });
}
