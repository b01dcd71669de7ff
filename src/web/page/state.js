// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's modules share: the running program and the page's view of it.

// The rules the windows follow too, as the program's own tables give them (twips per
// pixel, the history's and the state panel's texts, keys and pace, the system colours):
// filled at start, before anything is drawn (useRules, main.js).
export const rules = {};

export const $ = (selector) => document.querySelector(selector);

// An element with its properties and children, as the page's own panels build theirs.
export function make(tag, props = {}, ...children) {
  const node = Object.assign(document.createElement(tag), props);
  node.append(...children);
  return node;
}

export const app = {
  module: null, // the program's Emscripten module
  fe: null, // the program
  forms: new Map(), // form number → FormView
  views: new Map(), // element number → ElementView
  clocks: new Map(), // timer number → Clock
  frontForm: null,
  modal: 0, // boxes open: nothing else happens meanwhile
  programEnded: false,
  currentEvent: null, // the event being delivered, to deliver again after a file choice
  boxRaised: false, // an information box came up during the current event
  applyingFocus: false,
};
