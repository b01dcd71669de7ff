// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's zoom, as far as a page can tell. Zooming changes the device pixels per CSS
// pixel and the tab's width in CSS pixels together, so that its width in device pixels stays;
// moving the window to a screen of another density changes only the first. The zoom is kept
// for the tab, so that a page reloaded at 200 % is still drawn enlarged.
const KEY = 'volpar.zoom';

let zoom = 1;
let lastDpr = 1;
let lastWidth = 1;

// 1 at 100 %, 2 at 200 %; relative to the first time the page was loaded in this tab.
export function browserZoom() {
  return zoom;
}

function note() {
  const ratio = window.devicePixelRatio / lastDpr;
  const keptDeviceWidth = Math.abs((window.innerWidth * ratio) / lastWidth - 1) < 0.02;
  if (Math.abs(ratio - 1) > 0.001 && keptDeviceWidth) {
    zoom *= ratio;
    remember({ zoom, dpr: window.devicePixelRatio });
  }
  lastDpr = window.devicePixelRatio;
  lastWidth = window.innerWidth;
}

function remember(value) {
  try {
    sessionStorage.setItem(KEY, JSON.stringify(value));
  } catch {
    // No storage: a reload starts from the zoom it finds.
  }
}

function remembered() {
  try {
    return JSON.parse(sessionStorage.getItem(KEY));
  } catch {
    return null;
  }
}

// changed() runs after every resize and every change of the resolution, zoom or not.
export function watchZoom(changed) {
  const kept = remembered();
  if (kept?.dpr === window.devicePixelRatio && kept.zoom > 0) zoom = kept.zoom;
  lastDpr = window.devicePixelRatio;
  lastWidth = window.innerWidth;
  const watchResolution = () => {
    const query = matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
    query.addEventListener('change', () => (watchResolution(), note(), changed()), { once: true });
  };
  watchResolution();
  window.addEventListener('resize', () => (note(), changed()));
}
