// The six questions and the decimal separator: reading the answers, putting
// answers back, and pointing at the one to mend.
import { announce } from './announce.js';
import { answerBoxes } from './calculation.js';

export const form = document.getElementById('cuestionario');
export const field = (name) => form.elements.namedItem(name);
export const button = document.getElementById('calcular');

export function answersOnThePage() {
  const yes = (name) => (field(name).value === 'si' ? 1 : 0);
  const texts = Object.fromEntries(answerBoxes.map((name) => [name, field(name).value]));
  return { topFloor: yes('atico'), sunny: yes('soleada'), appliances: yes('aparatos'), texts };
}

// Question [1] switches the length and width on and off, as the window does:
// the greyed text of the area's first line is the record of which, and "m"
// after the width stays dark until the area is first switched off.
export function switchArea(on) {
  const line = document.getElementById('superficie');
  if (line.classList.contains('apagado') !== on) return;
  for (const part of form.querySelectorAll('#superficie, label[for=largo], label[for=ancho]')) {
    part.classList.toggle('apagado', !on);
  }
  document.getElementById('unidad-ancho').classList.toggle('apagado', !on);
  field('largo').disabled = !on;
  field('ancho').disabled = !on;
}

// A browser may restore the radios of an earlier visit (a reload, going back):
// the area follows whatever answer the page shows.
export function followRestoredAnswers() {
  if (field('atico').value) switchArea(field('atico').value === 'si');
}

// Every answer as [name, value]: each box, and each question's chosen radio.
export const answerValues = () => [...form.elements]
  .filter((element) => element.name && element.name !== 'separador' &&
    (element.type !== 'radio' || element.checked))
  .map((element) => [element.name, element.value]);

// Puts back what the form can take, and leaves the rest; false if anything was left.
export function fillIn(values) {
  let whole = true;
  for (const [name, value] of values) {
    const element = typeof name === 'string' && name !== 'separador' && field(name);
    if (element instanceof RadioNodeList) {
      for (const option of element) option.checked = option.value === value;
      whole &&= value === 'si' || value === 'no';
    } else if (element instanceof HTMLInputElement) {
      element.value = String(value);
    } else {
      whole = false;
    }
  }
  followRestoredAnswers();
  return whole;
}

// The separator: the user's choice on this device, else the browser's language.
const storageKey = 'klimora.separador';
let separator = ',';
export const currentSeparator = () => separator;
export const otherSeparator = (chosen) => (chosen === ',' ? '.' : ',');
export const separatorName = (chosen) => (chosen === ',' ? 'coma' : 'punto');

function storedSeparator() {
  try {
    return localStorage.getItem(storageKey);
  } catch {
    return null; // storage refused: nothing to remember with
  }
}

// A language Intl does not know ("C" from a bare system, say) gets the comma.
function languageSeparator() {
  try {
    const parts = new Intl.NumberFormat(navigator.language || undefined).formatToParts(1.5);
    return parts.find((part) => part.type === 'decimal')?.value === ',' ? ',' : '.';
  } catch {
    return ',';
  }
}

export function chooseSeparator(chosen, remember) {
  separator = chosen;
  for (const option of field('separador')) option.checked = option.value === chosen;
  document.getElementById('separador-nombre').textContent = separatorName(chosen);
  document.getElementById('separador-ejemplo').textContent = `3${chosen}5`;
  if (!remember) return;
  try {
    localStorage.setItem(storageKey, chosen);
  } catch {
    // Private modes may refuse storage: the choice then lasts this visit.
  }
}

export function chooseUsualSeparator() {
  const stored = storedSeparator();
  chooseSeparator(stored === ',' || stored === '.' ? stored : languageSeparator(), false);
}

// A keypad that has only the other decimal key must not leave its user stuck:
// 'otro' when the other separator reads every answer, 'mezcla' when the
// answers hold both, else nothing: a typo is a typo.
export function separatorHint(answers, readsWithTheOther) {
  if (readsWithTheOther) return 'otro';
  const texts = Object.values(answers.texts);
  return texts.some((text) => text.includes(',')) && texts.some((text) => text.includes('.')) ? 'mezcla' : '';
}

const error = document.getElementById('error');
const errorText = document.getElementById('error-texto');
export const otherSeparatorButton = document.getElementById('otro-separador');

// The message stands right after the faulty answer's question, where a phone
// shows it beside the box that takes the focus; the box names it as its
// description.
export function showError(box, message, hint) {
  const wrong = box && field(box);
  (wrong ? wrong.closest('fieldset') : button).after(error);
  otherSeparatorButton.hidden = hint !== 'otro';
  const chosen = separatorName(separator);
  const other = separatorName(otherSeparator(separator));
  if (hint === 'otro') {
    message += `\nEste número lleva ${other}, y aquí los decimales van con ${chosen}.`;
    otherSeparatorButton.textContent = `Usar ${other} para los decimales`;
  } else if (hint === 'mezcla') {
    message += `\nHay respuestas con coma y con punto. Escriba todos los decimales con ${chosen}.`;
  }
  announce(errorText, message);
  error.classList.add('con-mensaje');
  if (wrong && !wrong.disabled) {
    wrong.setAttribute('aria-invalid', 'true');
    wrong.setAttribute('aria-describedby', [wrong.dataset.describedby, 'error'].filter(Boolean).join(' '));
    wrong.focus();
    wrong.select();
    error.scrollIntoView({ block: 'nearest' });
  }
}

export function unmarkBoxes() {
  for (const name of answerBoxes) {
    const box = field(name);
    box.removeAttribute('aria-invalid');
    if (box.dataset.describedby) box.setAttribute('aria-describedby', box.dataset.describedby);
    else box.removeAttribute('aria-describedby');
  }
}

export function clearError() {
  unmarkBoxes();
  errorText.textContent = '';
  error.classList.remove('con-mensaje');
  otherSeparatorButton.hidden = true;
}

// Remembers each box's own description, which an error message joins.
export function keepDescriptions() {
  for (const name of answerBoxes) field(name).dataset.describedby = field(name).getAttribute('aria-describedby') ?? '';
}
