// SPDX-License-Identifier: GPL-3.0-or-later
// Where the browser offers it (the File System Access API), a file the student opened is
// known by its handle, and a save under the same name writes back into that very file.
// Elsewhere, and for any other name, a saved file is downloaded.
import { tr } from './texts.js';

const handles = new Map(); // file name → the handle of the file opened under it

export function pickerOffered() {
  return typeof window.showOpenFilePicker === 'function';
}

// The handle of the file the student chose, kept for later saves; null when the student
// cancelled. A picker the browser refuses (not after a user's action, say) throws.
export async function pickHandle() {
  let handle;
  try {
    [handle] = await window.showOpenFilePicker({
      types: [{ description: tr('Text file'), accept: { 'text/plain': ['.txt'] } }],
    });
  } catch (error) {
    if (error?.name === 'AbortError') return null;
    throw error;
  }
  handles.set(handle.name, handle);
  return handle;
}

export function openedHere(name) {
  return handles.has(name);
}

// A file of this name chosen another way: a save must not go to the one picked before.
export function forgetHandle(name) {
  handles.delete(name);
}

// Writes the bytes into the file opened under this name; throws when the browser cannot.
// The browser writes into a copy and replaces the file only on
// close, so a write that fails half-way leaves the file as it was.
export async function writeBack(name, bytes) {
  const writable = await handles.get(name).createWritable();
  try {
    await writable.write(bytes);
    await writable.close();
  } catch (error) {
    await writable.abort().catch(() => {});
    throw error;
  }
}
