// The answers and their separator outlast a reload of this tab: one the page
// makes itself, to take up a new version, or the person's own.
import { answerValues, fillIn } from './questionnaire.js';
import { chooseSeparator, currentSeparator, isSeparator } from './separator.js';
import { hasResult } from './result.js';

const answersKey = 'klimora.respuestas';
export const sessionStore = () => {
  try {
    return sessionStorage;
  } catch {
    return null; // storage refused: the answers last this page
  }
};

export function keepAnswers() {
  sessionStore()?.setItem(answersKey, JSON.stringify({
    values: answerValues(), separator: currentSeparator(), calculated: hasResult(),
  }));
}

export function reloadKeepingAnswers() {
  keepAnswers();
  location.reload();
}

// Whatever the kept answers hold that the form can take; anything else is
// left. True when they had been calculated.
export function restoreAnswers() {
  let kept = null;
  try {
    kept = JSON.parse(sessionStore()?.getItem(answersKey) ?? 'null');
  } catch {
    return false;
  }
  sessionStore()?.removeItem(answersKey);
  if (!Array.isArray(kept?.values)) return false;
  fillIn(kept.values.filter(Array.isArray));
  if (isSeparator(kept.separator)) chooseSeparator(kept.separator, false);
  return kept.calculated === true;
}
