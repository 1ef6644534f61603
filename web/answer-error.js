// A failed calculation's message, beside the answer to mend, which it points
// at and describes.
import { announce } from './announce.js';
import { answerBoxes } from './calculation.js';
import { button, field } from './questionnaire.js';
import { currentSeparator, otherSeparator, separatorName } from './separator.js';

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
  const chosen = separatorName(currentSeparator());
  const other = separatorName(otherSeparator(currentSeparator()));
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
