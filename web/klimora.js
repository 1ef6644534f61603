// The page's start: where the answers come from when it opens (this tab
// before a reload, or a shared link), what each control does, and the first
// calculation.
import { keepDescriptions, otherSeparatorButton } from './answer-error.js';
import { loadCalculator } from './calculation-loader.js';
import { showHome } from './home.js';
import './home-copies.js';
import { keepAnswers, restoreAnswers } from './kept-answers.js';
import { openLink } from './link.js';
import { press, showLoading } from './press.js';
import { followRestoredAnswers, form } from './questionnaire.js';
import { answersChanged } from './result.js';
import { chooseSeparator, chooseUsualSeparator } from './separator.js';
import { keepOffline } from './offline.js';
import { showFailure } from './unavailable.js';

// First of all, so that nothing below can leave "Calcular" sending the form. A
// press while the calculation still loads waits for it.
form.addEventListener('submit', (event) => {
  event.preventDefault();
  press();
});
// Shown only if the script never gets this far.
document.getElementById('sin-script').remove();

otherSeparatorButton.addEventListener('click', () => {
  chooseSeparator(otherSeparatorButton.value, true);
  press();
  showHome();
});
form.addEventListener('change', (event) => {
  if (event.target.type === 'radio') followRestoredAnswers();
  if (event.target.name === 'separador') {
    chooseSeparator(event.target.value, true);
    showHome();
  }
  answersChanged();
});
form.addEventListener('input', answersChanged);
window.addEventListener('pageshow', followRestoredAnswers);
window.addEventListener('pagehide', keepAnswers);
// A link pasted into this tab's address bar changes only the fragment.
window.addEventListener('hashchange', () => {
  loadCalculator().then(openLink, (failure) => showFailure(failure.reason));
});

keepDescriptions();
chooseUsualSeparator();
const calculatedBefore = restoreAnswers();
followRestoredAnswers();
// A shared link is read by the calculation, once it is here.
showLoading(true);
const started = loadCalculator().then((calc) => {
  showLoading(false);
  showHome();
  if (!openLink(calc) && calculatedBefore) return press();
  return null;
}, (failure) => {
  showLoading(false);
  showFailure(failure.reason);
  showHome();
});
keepOffline(started);
