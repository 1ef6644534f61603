// A failed calculation's message, beside the answer to mend, which it points
// at and describes, and the button to the other separator where it reads
// every answer. The words are calc's.
import { announce } from './announce.js';
import { answerBoxes, button, field } from './questionnaire.js';

const error = document.getElementById('error');
const errorText = document.getElementById('error-texto');
export const otherSeparatorButton = document.getElementById('otro-separador');

// The message stands right after the faulty answer's question, where a phone
// shows it beside the box that takes the focus; the box names it as its
// description.
export function showError({ answer, message, otherSeparator, useOther }) {
  const wrong = answer && field(answer);
  (wrong ? wrong.closest('fieldset') : button).after(error);
  otherSeparatorButton.hidden = !useOther;
  otherSeparatorButton.textContent = useOther ?? '';
  otherSeparatorButton.value = otherSeparator ?? '';
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
  for (const box of answerBoxes()) {
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
  for (const box of answerBoxes()) box.dataset.describedby = box.getAttribute('aria-describedby') ?? '';
}
