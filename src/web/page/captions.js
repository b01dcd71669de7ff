// SPDX-License-Identifier: GPL-3.0-or-later
// Colours, fonts and captions as the program's own tables and rules give them, as the
// windows draw them.
import { app, rules } from './state.js';

// How a colour is used where it is drawn: a white fill is a 0 bit, a white back a text box.
export const FILL = 0;
export const BACK = 1;
export const FORE = 2;

// The colour as the theme in force draws it: a custom property the theme sets, or the
// colour itself where no theme maps it.
export function css(colour, fallback = '', paint = BACK) {
  return app.module.themedColor(colour >>> 0, paint, fallback);
}

// A label's text on its back (on one of the machine's colours, as a bit's digit is there).
export function textCss(fore, back, fallback) {
  return app.module.themedText(fore >>> 0, back >>> 0, fallback);
}

export function fontFamily(font) {
  return app.module.cssFontFamily(font.name, font.points);
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
const fitted = new Map(); // caption, font and box → { pixels, stretch }

export function fitLater(view) {
  toFit.add(view);
}

export function fitLabels() {
  for (const view of toFit) {
    const { font, caption, width, height } = view.last;
    const key = `${caption}\n${font.name}\n${font.points}\n${font.bold}\n${width}\n${height}`;
    if (!fitted.has(key)) {
      // Measured once its screen is shown: asking costs a layout, so only when not known,
      // and not while its screen is neither in front nor beside it.
      if (!view.last.visible || !isShown(view.form) || !view.node.offsetParent) continue;
      fitted.set(key, measuredFit(view.node, font));
    }
    toFit.delete(view);
    setFont(view.node, fitted.get(key));
  }
}

function setFont(n, { pixels, stretch }) {
  n.style.fontSize = `${pixels}px`;
  n.style.fontStretch = `${stretch}%`;
}

function isShown(form) {
  return form === app.frontForm || form.node.classList.contains('beside');
}

function measuredFit(n, font) {
  return app.module.fitCaptionFont(app.module.fontPixels(font.points, 1), (pixels, stretch) => {
    setFont(n, { pixels, stretch });
    return n.scrollWidth <= n.clientWidth + 1 && n.scrollHeight <= n.clientHeight + 1;
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
