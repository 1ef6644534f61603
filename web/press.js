// A press of "Calcular": the answers on screen go to the calculation in one
// call, and its total, or what to mend, comes back to the page.
import { answerFields, press as calculate } from './calculation.js';
import { loadCalculator } from './calculation-loader.js';
import { clearError, unmarkBoxes } from './answer-error.js';
import { answerValues, button } from './questionnaire.js';
import { showReply } from './reply.js';
import { currentSeparator } from './separator.js';
import { showFailure, showUnavailable } from './unavailable.js';

export function showLoading(busy) {
  button.setAttribute('aria-busy', String(busy));
  document.getElementById('cargando').hidden = !busy;
}

export async function press() {
  let calc;
  try {
    showLoading(true);
    calc = await loadCalculator();
  } catch (failure) {
    clearError(); // it was about an earlier press
    showFailure(failure.reason);
    return;
  } finally {
    showLoading(false);
  }
  showUnavailable('');
  // The message stays until replaced: the same one again is then heard again.
  unmarkBoxes();
  showReply(calculate(calc, answerFields(answerValues()), currentSeparator()));
}
