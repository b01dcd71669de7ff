// SPDX-License-Identifier: GPL-3.0-or-later
// Program files in the browser: the user chooses one to open, and a saved one is handed
// to the user.
import { app, $ } from './state.js';
import { deliver } from './events.js';
import { closedBox, openBox } from './boxes.js';

// Opened and saved files live in a folder of their own, the program's working folder, so
// that a file named "dev" or "tmp" is no clash with the in-browser file system's own
// folders.
export const FILES_FOLDER = '/files';

const openfile = $('#openfile');
const savebox = $('#savebox');

// Only what a program file may hold, and a byte more, is read: a larger file is refused as
// the windows refuse it, without reading the rest.
async function keepOpened(file) {
  const allowed = Math.min(file.size, app.module.maxProgramFileBytes + 1);
  const bytes = await file.slice(0, allowed).arrayBuffer();
  app.module.FS.writeFile(`${FILES_FOLDER}/${file.name}`, new Uint8Array(bytes));
}

// The user chooses a file; once it is read, the event that asked is delivered again and
// finds the answer.
export function chooseOpen() {
  const event = app.currentEvent;
  openfile.value = '';
  openfile.onchange = async () => {
    const file = openfile.files[0];
    if (!file) return;
    try {
      await keepOpened(file);
    } catch (error) {
      app.fe.openFailed(file.name, `The browser could not read it (${error?.name ?? error})`);
      return;
    }
    app.fe.answerFile(file.name);
    deliver(event);
  };
  openfile.click();
}

export function chooseSave(lastName, defaultExt) {
  const input = savebox.querySelector('input');
  input.value = (lastName || '').split(/[\\/]/).pop() || `program${defaultExt}`;
  savebox.pendingEvent = app.currentEvent;
  savebox.pendingName = () => {
    const name = input.value.trim().split(/[\\/]/).pop();
    if (!name) return null;
    return name.includes('.') ? name : name + defaultExt;
  };
  openBox(savebox);
  input.select();
}

// After every user action: a file the program saved is handed to the user, unless it said
// why not. A tick saves nothing: a save waits for the user's answer.
export function handSaved(tick) {
  if (tick) return;
  const saved = app.fe.takeSaved();
  if (saved && !app.boxRaised) download(saved);
}

function download(name) {
  let bytes;
  try {
    bytes = app.module.FS.readFile(name);
  } catch {
    return; // the save failed, and said so
  }
  const url = URL.createObjectURL(new Blob([bytes], { type: 'text/plain' }));
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 60000);
}

export function hookFiles() {
  app.module.FS.mkdir(FILES_FOLDER);
  app.module.FS.chdir(FILES_FOLDER);
  savebox.addEventListener('close', () => {
    const chosen = savebox.returnValue === 'save' ? savebox.pendingName() : null;
    const event = savebox.pendingEvent;
    closedBox();
    if (chosen && event) {
      app.fe.answerFile(chosen);
      deliver(event);
    }
  });
}
