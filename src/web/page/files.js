// SPDX-License-Identifier: GPL-3.0-or-later
// Program files in the browser: the user chooses one to open, and a saved one is handed
// to the user (file_access.js: where the browser lets a save write back).
import { app, $ } from './state.js';
import { deliver } from './events.js';
import { closedBox, openBox, whenClosed, showMessage } from './boxes.js';
import { forgetHandle, openedHere, pickHandle, pickerOffered, writeBack } from './file_access.js';
import { fill, tr } from './texts.js';

// Opened and saved files live in a folder of their own, the program's working folder, so
// that a file named "dev" or "tmp" is no clash with the in-browser file system's own
// folders.
export const FILES_FOLDER = '/files';

const openfile = $('#openfile');
const savebox = $('#savebox');

// Only what a program file may hold, and a byte more, is read: a larger file is refused as
// the windows refuse it, without reading the rest.
async function keepOpened(name, file) {
  const allowed = Math.min(file.size, app.module.maxProgramFileBytes + 1);
  const bytes = await file.slice(0, allowed).arrayBuffer();
  app.module.FS.writeFile(`${FILES_FOLDER}/${name}`, new Uint8Array(bytes));
}

// Once the chosen file is read, the event that asked is delivered again and finds the
// answer; a file the browser cannot read is reported as a load that failed.
async function openChosen(name, getFile, event) {
  try {
    await keepOpened(name, await getFile());
  } catch (error) {
    app.fe.openFailed(name, fill(tr('The browser could not read it (%1)'), error?.name ?? error));
    return;
  }
  app.fe.answerFile(name);
  deliver(event);
}

// The browser's file picker where it offers one, whose file a save can write back to;
// else (or when the browser refuses it) the file input.
export function chooseOpen() {
  const event = app.currentEvent;
  const chosen = (name, getFile) => openChosen(name, getFile, event);
  if (!pickerOffered()) {
    chooseWithInput(chosen);
    return;
  }
  pickHandle().then(
    (handle) => handle && chosen(handle.name, () => handle.getFile()),
    () => chooseWithInput(chosen),
  );
}

function chooseWithInput(chosen) {
  openfile.value = '';
  openfile.onchange = () => {
    const file = openfile.files[0];
    if (!file) return;
    forgetHandle(file.name);
    chosen(file.name, () => file);
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
// why not: written back into the file opened under its name, else downloaded. A tick saves
// nothing: a save waits for the user's answer.
export function handSaved(tick) {
  if (tick) return;
  const saved = app.fe.takeSaved();
  if (saved && !app.boxRaised) handOver(saved);
}

function handOver(name) {
  let bytes;
  try {
    bytes = app.module.FS.readFile(name);
  } catch {
    return; // the save failed, and said so
  }
  if (!openedHere(name)) {
    download(name, bytes);
    return;
  }
  writeBack(name, bytes).catch((error) => {
    showMessage(
      fill(
        tr(
          'The program could not be written back to the file you opened, "%1".\n' +
            'Reason: The browser could not write it (%2).\n' +
            'It was downloaded as "%1" instead: nothing is lost.',
        ),
        name,
        error?.name ?? error,
      ),
      tr('VOLPAR -- PROGRAM FILE'),
    );
    download(name, bytes);
  });
}

function download(name, bytes) {
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
  whenClosed(savebox, () => {
    const chosen = savebox.returnValue === 'save' ? savebox.pendingName() : null;
    const event = savebox.pendingEvent;
    closedBox();
    if (chosen && event) {
      app.fe.answerFile(chosen);
      deliver(event);
    }
  });
}
