// The page's start: what a press of "Calcular" does, where the answers come
// from when the page opens (a shared link, or this tab before a reload), and
// the offline copy.
import { calcModule, calculate, forgetCalculator, loadCalculator, unexpected } from './calculation.js';
import { linkTo, readLink } from './link.js';
import {
  answerValues, answersOnThePage, button, chooseSeparator, chooseUsualSeparator, clearError,
  currentSeparator, fillIn, followRestoredAnswers, form, keepDescriptions, otherSeparator,
  otherSeparatorButton, separatorHint, showError, switchArea, unmarkBoxes,
} from './questionnaire.js';
import { hasResult, showResult } from './result.js';

function showLoading(busy) {
  button.setAttribute('aria-busy', String(busy));
  document.getElementById('cargando').hidden = !busy;
}

// Each reason has its message; without WebAssembly there is no button either.
const unavailableMessages = { 'sin-webassembly': 'sin-calculo', rechazado: 'calculo-rechazado',
  'sin-conexion': 'sin-conexion', 'otra-version': 'otra-version' };
function showUnavailable(reason) {
  for (const [each, id] of Object.entries(unavailableMessages)) {
    document.getElementById(id).hidden = each !== reason;
  }
  button.hidden = reason === 'sin-webassembly';
}

// The answers outlast a reload of this tab: one the page makes itself, to
// take up a new version, or the person's own.
const answersKey = 'klimora.respuestas';
const sessionStore = () => {
  try {
    return sessionStorage;
  } catch {
    return null; // storage refused: the answers last this page
  }
};

function keepAnswers() {
  sessionStore()?.setItem(answersKey, JSON.stringify({ values: answerValues(), calculated: hasResult() }));
}

// Whatever the kept answers hold that the form can take; anything else is left.
function restoreAnswers() {
  let kept = null;
  try {
    kept = JSON.parse(sessionStore()?.getItem(answersKey) ?? 'null');
  } catch {
    return false;
  }
  sessionStore()?.removeItem(answersKey);
  if (!Array.isArray(kept?.values)) return false;
  fillIn(kept.values.filter(Array.isArray));
  return kept.calculated === true;
}

// A shared link's answers, over the page's first ones; its separator for this
// visit only. The link then leaves the address, so that a reload keeps what
// the person has changed since.
function openLink() {
  const shared = readLink(location.hash);
  if (!shared) return false;
  form.reset();
  switchArea(false);
  const whole = fillIn(shared.values) && shared.whole;
  chooseSeparator(shared.separator ?? currentSeparator(), false);
  document.getElementById('aviso-enlace').hidden = whole;
  history.replaceState(null, '', location.pathname + location.search);
  return true;
}

// The server has this page's files no more: the page reloads as the current
// version, once; a second time it says so, with a button for it.
const reloadedKey = 'klimora.recargada';
function showFailure(reason) {
  if (reason === 'otra-version' && sessionStore()?.getItem(reloadedKey) !== calcModule) {
    sessionStore()?.setItem(reloadedKey, calcModule);
    keepAnswers();
    location.reload();
    return;
  }
  showUnavailable(reason);
}

async function press() {
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
    if (reply.total !== undefined) {
      clearError();
      showResult(reply, linkTo(answerValues(), separator));
      return;
    }
    const again = calculate(calc, answers, otherSeparator(separator));
    showError(reply.box, reply.message, reply.box ? separatorHint(answers, again.total !== undefined) : '');
  } catch {
    // A trap or an abort: this instance is done, the next press gets another.
    forgetCalculator();
    showError('', unexpected, '');
  }
}

// First of all, so that nothing below can leave "Calcular" sending the form. A
// press while the calculation still loads waits for it.
form.addEventListener('submit', (event) => {
  event.preventDefault();
  press();
});
// Shown only if the script never gets this far.
document.getElementById('sin-script').remove();

otherSeparatorButton.addEventListener('click', () => {
  chooseSeparator(otherSeparator(currentSeparator()), true);
  press();
});
document.getElementById('recargar').addEventListener('click', () => {
  keepAnswers();
  location.reload();
});

form.addEventListener('change', (event) => {
  if (event.target.name === 'atico') switchArea(event.target.value === 'si');
  if (event.target.name === 'separador') chooseSeparator(event.target.value, true);
});
window.addEventListener('pageshow', followRestoredAnswers);
window.addEventListener('pagehide', keepAnswers);
// A link pasted into this tab's address bar changes only the fragment.
window.addEventListener('hashchange', () => {
  if (openLink()) press();
});
keepDescriptions();
const calculatedBefore = restoreAnswers();
followRestoredAnswers();
chooseUsualSeparator();
const opened = openLink();

const started = calculatedBefore || opened ? press() : (() => {
  showLoading(true);
  return loadCalculator().then(() => showLoading(false), (failure) => {
    showLoading(false);
    showFailure(failure.reason);
  });
})();

if ('serviceWorker' in navigator) {
  // The first worker takes over a page it did not serve. Any later one is a
  // new version, and this page's files went with the old: the page reloads as
  // the new version, its answers kept.
  let served = navigator.serviceWorker.controller !== null;
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (!served) {
      served = true;
      return;
    }
    keepAnswers();
    location.reload();
  });
  // Once the calculation is here: the worker then takes its files from the
  // HTTP cache instead of downloading them again.
  started.then(() => navigator.serviceWorker.register('sw.js')).catch(() => {
    // No offline copy, as over plain http: the page works online all the same.
  });
}

// An installed page asks to keep its offline copy when space runs short.
if (matchMedia('(display-mode: standalone)').matches) navigator.storage?.persist?.().catch(() => {});
