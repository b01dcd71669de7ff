// SPDX-License-Identifier: GPL-3.0-or-later
// A page opened once opens again with no network, and can be installed: its service worker
// (sw.js) keeps every file it needs. The page works without one, as in a browser that has
// none or from a file: address.
export function workOffline() {
  navigator.serviceWorker?.register('sw.js', { updateViaCache: 'none' }).catch(() => {});
}
