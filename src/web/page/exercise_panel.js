// SPDX-License-Identifier: GPL-3.0-or-later
// The "VOLPAR Exercise" panel beside the screens: File > Open Exercise lets the student
// choose an exercise file, and Check grades the program now in memory against its tests.
// The program reads the file and grades, as the windows do; the page only shows what it
// says. The last exercise opened is kept in the browser, and Open Exercise offers it
// again after a reload.
import { app } from './state.js';
import { afterEachEvent } from './events.js';
import { closedBox, openBox, whenClosed } from './boxes.js';
import { FILES_FOLDER } from './files.js';
import { accessKeyOf, setCaption } from './captions.js';
import { fill, onLanguage, tr } from './texts.js';

const REMEMBERED = 'volpar.exercise';
// Exercise files are a few hundred bytes; a very large one is opened but not kept.
const MOST_REMEMBERED = 64 * 1024;

let panel = null;
let offer = null;
let chooser = null;
let words = null; // the window's words, from the program

// Once the program has ended there is nothing to check.
afterEachEvent(() => {
  if (app.programEnded && panel && !panel.hidden) closePanel();
});

// What the program's File > Open Exercise asks for.
export function chooseExercise() {
  const last = remembered();
  if (last) offerLast(last);
  else chooseFile();
}

// ---- choosing and reading the file ----------------------------------------------------------

function chooseFile() {
  chooser ??= fileInput();
  chooser.value = '';
  chooser.click();
}

function fileInput() {
  const input = document.createElement('input');
  input.type = 'file';
  input.accept = '.ini,text/plain';
  input.hidden = true;
  input.id = 'openexercise';
  input.addEventListener('change', () => {
    if (input.files[0]) readChosen(input.files[0]);
  });
  document.body.append(input);
  return input;
}

// Only what an exercise file may hold, and a byte more, is read: a larger file is refused
// as the windows refuse it, without reading the rest.
async function readChosen(file) {
  let bytes;
  try {
    const allowed = Math.min(file.size, app.module.maxExerciseFileBytes + 1);
    bytes = new Uint8Array(await file.slice(0, allowed).arrayBuffer());
  } catch (error) {
    app.fe.exerciseFailed(file.name, fill(tr('The browser could not read it (%1)'), error?.name ?? error));
    return;
  }
  if (openExercise(file.name, bytes)) remember(file.name, bytes);
}

function openExercise(name, bytes) {
  if (app.programEnded) return false;
  app.module.FS.writeFile(`${FILES_FOLDER}/${name}`, bytes);
  const shown = app.fe.openExercise(name);
  if (!shown) return false;
  showExercise(shown);
  return true;
}

// ---- the last exercise, kept in the browser -------------------------------------------------

function remember(name, bytes) {
  if (bytes.length > MOST_REMEMBERED) return;
  try {
    const text = Array.from(bytes, (b) => String.fromCharCode(b)).join('');
    localStorage.setItem(REMEMBERED, JSON.stringify({ name, text }));
  } catch {
    // A browser that keeps nothing offers nothing after a reload.
  }
}

function remembered() {
  try {
    const last = JSON.parse(localStorage.getItem(REMEMBERED));
    const named = typeof last?.name === 'string' && last.name !== '' && !last.name.includes('/');
    return named && typeof last.text === 'string' ? last : null;
  } catch {
    return null;
  }
}

function offerLast(last) {
  offer ??= offerBox();
  offer.returnValue = '';
  offer.last = last;
  writeOfferWords();
  openBox(offer);
  offer.querySelector('button[value=last]').focus();
}

function offerBox() {
  const dialog = document.createElement('dialog');
  dialog.id = 'exerciseoffer';
  dialog.innerHTML = `<form method="dialog"><header class="title"></header>
    <div class="body"><span class="info-icon" aria-hidden="true">?</span><p class="text"></p></div>
    <footer><button value="last"></button> <button value="choose"></button>
    <button value="cancel"></button></footer></form>`;
  whenClosed(dialog, () => {
    closedBox();
    if (dialog.returnValue === 'choose') chooseFile();
    if (dialog.returnValue !== 'last') return;
    const { name, text } = dialog.last;
    openExercise(
      name,
      Uint8Array.from(text, (c) => c.charCodeAt(0)),
    );
  });
  document.body.append(dialog);
  return dialog;
}

function writeOfferWords() {
  if (!offer?.last) return;
  const { name } = offer.last;
  offer.querySelector('.title').textContent = wording().title;
  offer.querySelector('.text').textContent = fill(tr('Open the last exercise, %1, again?'), name);
  offer.querySelector('button[value=last]').textContent = fill(tr('Open %1'), name);
  offer.querySelector('button[value=choose]').textContent = tr('Choose a File...');
  offer.querySelector('button[value=cancel]').textContent = tr('Cancel');
}

// ---- the panel ------------------------------------------------------------------------------

function showExercise({ title, text, tests }) {
  panel ??= makePanel();
  panel.querySelector('.exercise-title').textContent = title;
  panel.querySelector('.exercise-text').textContent = text;
  panel.querySelector('.exercise-tests').replaceChildren(...tests.map((line) => item(line)));
  panel.querySelector('.exercise-results').replaceChildren();
  panel.querySelector('.exercise-hidden').textContent = '';
  panel.hidden = false;
  document.body.classList.add('exercise-open');
  panel.querySelector('.exercise-check').focus();
}

function item(line, passed) {
  const li = document.createElement('li');
  li.textContent = line;
  if (passed !== undefined) li.className = passed ? 'passed' : 'failed';
  return li;
}

function wording() {
  words ??= app.module.exerciseWording();
  return words;
}

function makePanel() {
  const aside = document.createElement('aside');
  aside.id = 'exercise';
  aside.innerHTML = `<header><span></span>
    <button type="button" class="exercise-close">×</button></header>
    <div class="exercise-body"><h2 class="exercise-title"></h2><p class="exercise-text"></p>
    <h3 class="tests-heading"></h3><ul class="exercise-tests"></ul>
    <p class="exercise-buttons"><button type="button" class="exercise-check"></button></p>
    <h3 class="results-heading"></h3><ul class="exercise-results" aria-live="polite"></ul>
    <p class="exercise-hidden"></p></div>`;
  writePanelWords(aside);
  aside.querySelector('.exercise-check').addEventListener('click', runCheck);
  aside.querySelector('.exercise-close').addEventListener('click', closePanel);
  aside.addEventListener('keydown', panelKey);
  document.body.append(aside);
  return aside;
}

function writePanelWords(aside) {
  const { title, check: caption, checking, tip, tests, results } = wording();
  aside.setAttribute('aria-label', title);
  aside.querySelector('.exercise-close').setAttribute('aria-label', tr('Close exercise'));
  aside.querySelector('header span').textContent = title;
  aside.querySelector('.tests-heading').textContent = tests;
  aside.querySelector('.results-heading').textContent = results;
  const check = aside.querySelector('.exercise-check');
  setCaption(check, check.disabled ? checking : caption);
  check.title = tip;
}

onLanguage(() => {
  words = null;
  if (panel) writePanelWords(panel);
  writeOfferWords();
});

function closePanel() {
  panel.hidden = true;
  document.body.classList.remove('exercise-open');
  app.frontForm?.applyFocus();
}

// The panel's keys are its own: Enter presses the focused button, not a screen's default
// one. Alt and Check's underlined letter is Check; shortcuts with Ctrl and the function keys still reach the screens.
function panelKey(ev) {
  if (ev.altKey && !ev.ctrlKey && ev.key.toLowerCase() === accessKeyOf(wording().check)) {
    ev.preventDefault();
    runCheck();
  }
  if (!ev.ctrlKey && !/^F\d+$/.test(ev.key)) ev.stopPropagation();
}

// The button says it is checking until the verdicts are there: the grading takes a moment,
// so it waits until that caption has been drawn.
function runCheck() {
  const check = panel.querySelector('.exercise-check');
  if (check.disabled || app.modal || app.programEnded) return;
  check.disabled = true;
  setCaption(check, wording().checking);
  panel.querySelector('.exercise-results').replaceChildren();
  panel.querySelector('.exercise-hidden').textContent = '';
  const grade = () => {
    showVerdicts(app.programEnded ? null : app.fe.check());
    setCaption(check, wording().check);
    check.disabled = false;
  };
  requestAnimationFrame(() => setTimeout(grade));
}

function showVerdicts(checked) {
  if (!checked) return;
  const results = checked.verdicts.map(({ line, passed }) => item(line, passed));
  panel.querySelector('.exercise-results').replaceChildren(...results);
  panel.querySelector('.exercise-hidden').textContent = checked.hidden;
}
