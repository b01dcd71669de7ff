// SPDX-License-Identifier: GPL-3.0-or-later
// One user action or tick at a time, handed to the program, and what it changed drawn.
// The bottom of the page's modules: it imports none but the shared state; how to draw
// and how to settle the boxes are handed in at start (hookEvents, by main.js).
import { app } from './state.js';

const hooks = { draw: () => {}, settleBoxes: () => {} };
const eventListeners = [];
let acted = false; // a user's action since the last frame drawn
const flushListeners = [];
let frameRequested = false;

// listener(tick) runs after every event the program handled (a file to hand over, a clock
// to start or stop); tick tells a clock's tick from a user's action.
export function hookEvents({ draw, settleBoxes }) {
  hooks.draw = draw;
  hooks.settleBoxes = settleBoxes;
}

// Draws at once everything that changed.
export function drawNow() {
  acted = false;
  hooks.draw(true);
}

export function afterEachEvent(listener) {
  eventListeners.push(listener);
}

// listener() runs after everything that changed is drawn: after each user action and once
// a frame while a clock runs. A listener compares a revision before it does any work.
export function afterFlush(listener) {
  flushListeners.push(listener);
}

export function flushed() {
  for (const listener of flushListeners) listener();
}

// Nothing is delivered while a box is open or after the program has ended. What a user's
// action changed is drawn at once, so that the focus has moved on before the next key is
// read however fast keys come; a tick's changes wait for the next animation frame, which
// draws them all together.
export function deliver(action, tick = false) {
  if (!tick) hooks.settleBoxes();
  if (app.modal) return undefined;
  const outer = app.currentEvent;
  app.currentEvent = action;
  app.boxRaised = false;
  let result;
  try {
    result = action();
  } finally {
    app.currentEvent = outer;
  }
  for (const listener of eventListeners) listener(tick);
  acted ||= !tick;
  if (tick || app.modal) requestFrame();
  else drawNow();
  return result;
}

export function requestFrame() {
  if (frameRequested) return;
  frameRequested = true;
  requestAnimationFrame(() => {
    frameRequested = false;
    if (app.modal) return;
    const anew = acted;
    acted = false;
    hooks.draw(anew);
  });
}
