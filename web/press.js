// A press of "Calcular": the answers on screen go to the calculation, and its
// total, or what to mend, comes back to the page.
import { calculate, forgetCalculator, loadCalculator, unexpected } from './calculation.js';
import { clearError, showError, unmarkBoxes } from './answer-error.js';
import { linkTo } from './link.js';
import { answersOnThePage, button } from './questionnaire.js';
import { showFailedPress, showResult } from './result.js';
import { currentSeparator, otherSeparator, separatorHint } from './separator.js';
import { showFailure, showUnavailable } from './unavailable.js';

export function showLoading(busy) {
  button.setAttribute('aria-busy', String(busy));
  document.getElementById('cargando').hidden = !busy;
}

function failed(box, message, hint) {
  showError(box, message, hint);
  showFailedPress(message);
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
  try {
    const answers = answersOnThePage();
    const separator = currentSeparator();
    const reply = calculate(calc, answers, separator);
    if (!reply.error) {
      clearError();
      showResult(reply, linkTo(calc, answers, separator));
      return;
    }
    const { answer, message } = reply.error;
    const again = calculate(calc, answers, otherSeparator(separator));
    failed(answer, message, answer ? separatorHint(answers, !again.error) : '');
  } catch {
    // A trap or an abort: this instance is done, the next press gets another.
    forgetCalculator();
    failed('', unexpected, '');
  }
}
