// The questionnaire in the browser. Every reading, sum and text of the
// calculation comes from the same C++ as the desktop program, compiled to
// WebAssembly (klimora-calc.mjs); this file only moves texts between the page
// and it. It reads top-down: the bridge to the calculation, the page, the start.

// ---- The bridge ----

const answerBoxes = ['largo', 'ancho', 'puertas', 'paredes', 'personas'];
const unexpected = 'Error inesperado';

// Both filled in as the site is put together: the names carry a digest of
// their contents, so that no cache can pair this page with another build's
// module.
const calcModule = './klimora-calc.mjs';
const calcWasm = './klimora-calc.wasm';
const calcVersion = '{{version}}';

// Why there is no calculation: 'sin-webassembly', 'rechazado' (the browser
// will not compile or run it), 'sin-conexion', or 'otra-version' (the server
// has moved on to another version, without this page's files).
const unavailable = (reason) => Object.assign(new Error(reason), { reason });

// A module that failed to load stays failed under its address: a retry asks
// again under a new one, which no cache holds.
let glue = null;
let failedDownloads = 0;

// The server tells a lost connection from a file it no longer has.
async function whyNotDownloaded(url) {
  try {
    const response = await fetch(url, { method: 'HEAD', cache: 'no-store' });
    return response.ok ? 'rechazado' : 'otra-version';
  } catch {
    return 'sin-conexion';
  }
}

function importGlue() {
  if (!glue) {
    const url = failedDownloads ? `${calcModule}?intento=${failedDownloads}` : calcModule;
    glue = import(url).catch(async () => {
      glue = null;
      failedDownloads += 1;
      throw unavailable(await whyNotDownloaded(url));
    });
  }
  return glue;
}

async function downloadWasm() {
  try {
    const response = await fetch(failedDownloads ? `${calcWasm}?intento=${failedDownloads}` : calcWasm);
    if (response.ok) return await response.arrayBuffer();
  } catch {
    failedDownloads += 1;
    throw unavailable('sin-conexion');
  }
  throw unavailable('otra-version');
}

// A new instance of the calculation. A trap leaves an instance unusable, and
// the next press makes another from the same module.
async function newCalculator() {
  if (typeof WebAssembly !== 'object') throw unavailable('sin-webassembly');
  const { default: createCalc } = await importGlue();
  const wasmBinary = await downloadWasm();
  let calc;
  try {
    calc = await createCalc({ wasmBinary });
  } catch {
    throw unavailable('rechazado');
  }
  if (calc.UTF8ToString(calc._klimora_version()) !== calcVersion) throw unavailable('otra-version');
  return calc;
}

let loading = null;
function loadCalculator() {
  loading ??= newCalculator().catch((failure) => {
    loading = null;
    throw failure;
  });
  return loading;
}

// Every text goes in as its exact UTF-8 bytes, whatever characters it holds.
// Replies ['total', text, equivalents] or ['error', box, message], where box is
// the name of the answer to mend, if any.
function calculate(calc, answers, separator) {
  const encoder = new TextEncoder();
  const texts = answerBoxes.map((name) => encoder.encode(answers.texts[name]));
  const bytes = texts.reduce((sum, text) => sum + text.length, 0);
  const buffer = calc._malloc(Math.max(bytes, 1));
  if (!buffer) return ['error', '', unexpected];
  try {
    let at = buffer;
    for (const text of texts) {
      calc.HEAPU8.set(text, at);
      at += text.length;
    }
    const reply = calc._klimora_calculate(answers.topFloor, answers.sunny, answers.appliances,
      buffer, ...texts.map((text) => text.length), separator.charCodeAt(0));
    const [kind, first, second] = calc.UTF8ToString(reply).split('\t');
    return kind === 'error' ? [kind, answerBoxes[first] ?? '', second] : [kind, first, second];
  } finally {
    calc._free(buffer);
  }
}

// ---- The page ----

const form = document.getElementById('cuestionario');
const field = (name) => form.elements.namedItem(name);
const button = document.getElementById('calcular');

function answersOnThePage() {
  const yes = (name) => (field(name).value === 'si' ? 1 : 0);
  const texts = Object.fromEntries(answerBoxes.map((name) => [name, field(name).value]));
  return { topFloor: yes('atico'), sunny: yes('soleada'), appliances: yes('aparatos'), texts };
}

// Question [1] switches the length and width on and off, as the window does:
// the greyed text of the area's first line is the record of which, and "m"
// after the width stays dark until the area is first switched off.
function switchArea(on) {
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
function followRestoredAnswers() {
  if (field('atico').value) switchArea(field('atico').value === 'si');
}

// The separator: the user's choice on this device, else the browser's language.
const storageKey = 'klimora.separador';
let separator = ',';
const otherSeparator = (chosen) => (chosen === ',' ? '.' : ',');
const separatorName = (chosen) => (chosen === ',' ? 'coma' : 'punto');

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

function chooseSeparator(chosen, remember) {
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

// A live region speaks when its text changes: the same text again is taken
// away for a moment, so that a second press is heard too.
function announce(element, text) {
  if (element.textContent !== text) {
    element.textContent = text;
    return;
  }
  element.textContent = '';
  setTimeout(() => { element.textContent = text; }, 100);
}

const error = document.getElementById('error');
const errorText = document.getElementById('error-texto');
const otherSeparatorButton = document.getElementById('otro-separador');

// The message stands right after the faulty answer's question, where a phone
// shows it beside the box that takes the focus; the box names it as its
// description.
function showError(box, message, separatorHint) {
  const wrong = box && field(box);
  (wrong ? wrong.closest('fieldset') : button).after(error);
  otherSeparatorButton.hidden = !separatorHint;
  if (separatorHint) {
    message += `\nEste número lleva ${separatorName(otherSeparator(separator))}, y aquí los decimales van con ${separatorName(separator)}.`;
    otherSeparatorButton.textContent = `Usar ${separatorName(otherSeparator(separator))} para los decimales`;
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

function unmarkBoxes() {
  for (const name of answerBoxes) {
    const box = field(name);
    box.removeAttribute('aria-invalid');
    if (box.dataset.describedby) box.setAttribute('aria-describedby', box.dataset.describedby);
    else box.removeAttribute('aria-describedby');
  }
}

function clearError() {
  unmarkBoxes();
  errorText.textContent = '';
  error.classList.remove('con-mensaje');
  otherSeparatorButton.hidden = true;
}

function showTotal(total, equivalents) {
  const result = document.getElementById('resultado');
  announce(result, `${total} ${result.dataset.unidad}`);
  document.getElementById('equivalencias').textContent = equivalents;
}

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
  const values = [...form.elements].filter((element) => element.name && element.name !== 'separador' &&
    (element.type !== 'radio' || element.checked)).map((element) => [element.name, element.value]);
  const calculated = document.getElementById('resultado').textContent !== '';
  sessionStore()?.setItem(answersKey, JSON.stringify({ values, calculated }));
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
  for (const [name, value] of kept.values) {
    const element = typeof name === 'string' && name !== 'separador' && field(name);
    if (element instanceof RadioNodeList) {
      for (const option of element) option.checked = option.value === value;
    } else if (element instanceof HTMLInputElement) {
      element.value = String(value);
    }
  }
  return kept.calculated === true;
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
    const [kind, first, second] = calculate(calc, answers, separator);
    if (kind === 'total') {
      clearError();
      showTotal(first, second);
      return;
    }
    // A keypad that has only the other decimal key must not leave its user
    // stuck: when that separator is all that is wrong with the answer, say so.
    const [again, box] = calculate(calc, answers, otherSeparator(separator));
    showError(first, second, first !== '' && (again === 'total' || box !== first));
  } catch {
    // A trap or an abort: this instance is done, the next press gets another.
    loading = null;
    showError('', unexpected, false);
  }
}

// ---- The start ----

// First of all, so that nothing below can leave "Calcular" sending the form. A
// press while the calculation still loads waits for it.
form.addEventListener('submit', (event) => {
  event.preventDefault();
  press();
});
// Shown only if the script never gets this far.
document.getElementById('sin-script').remove();

otherSeparatorButton.addEventListener('click', () => {
  chooseSeparator(otherSeparator(separator), true);
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
for (const name of answerBoxes) field(name).dataset.describedby = field(name).getAttribute('aria-describedby') ?? '';
const calculatedBefore = restoreAnswers();
followRestoredAnswers();

const stored = storedSeparator();
chooseSeparator(stored === ',' || stored === '.' ? stored : languageSeparator(), false);

const started = calculatedBefore ? press() : (() => {
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
