// SPDX-License-Identifier: GPL-3.0-or-later
// Colours, fonts and captions as the program's own tables and rules give them, as the
// windows draw them.
import { app, rules } from './state.js';

// How a colour is used where it is drawn: a white fill is a 0 bit, a white back a text box.
export const FILL = 0;
export const BACK = 1;
export const FORE = 2;

// The colour as the theme in force draws it. The theme's colours are custom properties the
// page sets from the program's table (theme.js); an element is given the colour such a
// property holds, read once a theme, rather than var(--vp-NAME) itself: a var() in an
// element's own style makes the browser work out its whole style again at every change,
// and a running clock changes dozens of cells a frame. A change of theme forgets these and
// draws every element again (form_view.js).
const drawnColours = new Map();

// What a custom property the theme set holds now (--vp-zero → #ffffff).
export function themeValue(property) {
  return getComputedStyle(document.documentElement).getPropertyValue(property).trim();
}

export function forgetColours() {
  drawnColours.clear();
}

function drawnColour(key, themed) {
  let colour = drawnColours.get(key);
  if (colour !== undefined) return colour;
  colour = themed();
  const property = /^var\((--[\w-]+)\)$/.exec(colour)?.[1];
  if (property) colour = themeValue(property) || colour;
  drawnColours.set(key, colour);
  return colour;
}

export function css(colour, fallback = '', paint = BACK) {
  return drawnColour(`${colour >>> 0} ${paint} ${fallback}`, () =>
    app.module.themedColor(colour >>> 0, paint, fallback),
  );
}

// A label's text on its back (on one of the machine's colours, as a bit's digit is there).
export function textCss(fore, back, fallback) {
  return drawnColour(`text ${fore >>> 0} ${back >>> 0} ${fallback}`, () =>
    app.module.themedText(fore >>> 0, back >>> 0, fallback),
  );
}

// With the page's CJK families after the program's, for the characters its fonts lack.
export function fontFamily(font) {
  return `${app.module.cssFontFamily(font.name, font.points)}, var(--cjk-fonts)`;
}

export function fontSize(font, percent = 100) {
  return `${(app.module.fontPixels(font.points, 1) * percent) / 100}px`;
}

export function px(twips) {
  return `${twips / rules.twipsPerPixel}px`;
}

// A caption too wide or tall for its label is narrowed, then made smaller, by the windows'
// rule (the program's fitCaptionFont), measured by the browser's own layout. Measured once
// all changes are written, on the screens shown, once for each caption, font and box: a
// running clock shows the same few captions again and again, and each measure costs the
// browser a layout.
const toFit = new Set();
// Not shown when last asked: looked at again after a user's action or a window's coming to
// the front (a clock's tick shows nothing new), so that a run does not ask every frame.
const waiting = new Set();
const fitted = new Map(); // caption, font and box → { pixels, stretch }

export function fitLater(view) {
  waiting.delete(view);
  toFit.add(view);
}

const keyOf = ({ font, caption, width, height }) =>
  `${caption}\n${font.name}\n${font.points}\n${font.bold}\n${width}\n${height}`;
const basePixels = (font) => app.module.fontPixels(font.points, 1);
// What holds the caption: the element itself, or its caption's own box (a frame's).
const sized = (view) => view.fitNode ?? view.node;
const fits = (n) => n.scrollWidth <= n.clientWidth + 1 && n.scrollHeight <= n.clientHeight + 1;

// `anew`: after a user's action, or a window came to the front. The captions not known yet
// are read first, all in the one layout the frame needs anyway: most fit as drawn and keep
// their font; only the others are tried smaller, each try a layout. A clock's tick measures
// nothing in the middle of its frame: a caption known already takes its font, a new one is
// measured as the next frame begins (fitBeforeDrawing), from the layout the browser made to
// show this one, where a measure now would cost a second layout in every frame of a run.
export function fitLabels(anew = false) {
  if (anew) {
    for (const view of waiting) toFit.add(view);
    waiting.clear();
    measure();
    return;
  }
  for (const view of toFit) {
    const known = fitted.get(keyOf(view.last));
    if (!known) continue;
    setFont(sized(view), known);
    toFit.delete(view);
  }
}

export function fitBeforeDrawing() {
  if (toFit.size) measure();
}

function measure() {
  const tooWide = [];
  for (const view of toFit) {
    const key = keyOf(view.last);
    if (fitted.has(key)) continue;
    // Not while its screen is neither in front nor beside it: it is measured once shown.
    if (!view.last.visible || !isShown(view.form) || !sized(view).offsetParent) {
      toFit.delete(view);
      waiting.add(view);
    } else if (fits(sized(view))) {
      fitted.set(key, { pixels: basePixels(view.last.font), stretch: 100 });
    } else {
      tooWide.push([view, key]);
    }
  }
  for (const [view, key] of tooWide) fitted.set(key, measuredFit(sized(view), view.last.font));
  for (const view of toFit) setFont(sized(view), fitted.get(keyOf(view.last)));
  toFit.clear();
}

// The font as drawn is written as drawLabel wrote it, so that nothing changes for the browser.
function setFont(n, { pixels, stretch }) {
  n.style.fontSize = `${pixels}px`;
  n.style.fontStretch = stretch === 100 ? '' : `${stretch}%`;
}

function isShown(form) {
  return form === app.frontForm || form.node.classList.contains('beside');
}

function measuredFit(n, font) {
  return app.module.fitCaptionFont(basePixels(font), (pixels, stretch) => {
    setFont(n, { pixels, stretch });
    return fits(n);
  });
}

// A caption with "&" before its access key: the key comes back underlined, "&&" is "&".
export function setCaption(node, caption) {
  if (node.volparCaption === caption) return;
  node.volparCaption = caption;
  if (!caption.includes('&')) {
    node.textContent = caption;
    return;
  }
  node.replaceChildren();
  let text = '';
  for (let i = 0; i < caption.length; ++i) {
    if (caption[i] === '&' && i + 1 < caption.length) {
      ++i;
      if (caption[i] !== '&') {
        node.append(text, underlined(caption[i]));
        text = '';
        continue;
      }
    }
    text += caption[i];
  }
  node.append(text);
}

function underlined(letter) {
  const u = document.createElement('u');
  u.textContent = letter;
  return u;
}

export function accessKeyOf(caption) {
  const m = /&([^&])/.exec(caption.replace(/&&/g, ''));
  return m ? m[1].toLowerCase() : null;
}

// The caption as read aloud: without its access-key marks.
export function plainCaption(caption) {
  return caption.replace(/&(.)/g, '$1');
}
