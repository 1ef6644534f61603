// The questionnaire in the browser. Every reading, sum and text of the
// calculation comes from the same C++ as the desktop program, compiled to
// WebAssembly (klimora-calc.mjs); this file only moves texts between the page
// and it. It reads top-down: the bridge to the calculation, the page, the start.

// ---- The bridge ----

const answerBoxes = ['largo', 'ancho', 'puertas', 'paredes', 'personas'];
const unexpected = 'Error inesperado';

// The calculation, loaded when first needed and again after a failed download
// or a trap, which leaves an instance unusable. Throws 'sin-webassembly' or
// 'sin-conexion'.
let loading = null;
let attempt = 0;
// Both filled in as the site is put together: the module's name carries a
// digest of its contents, so that no cache can pair this page with another
// build's module.
const calcModule = './klimora-calc.mjs';
const calcVersion = '{{version}}';

function loadCalculator() {
  if (typeof WebAssembly !== 'object') return Promise.reject(new Error('sin-webassembly'));
  if (!loading) {
    // A module that failed to load stays failed under its URL: a retry asks anew.
    attempt += 1;
    const url = attempt === 1 ? calcModule : `${calcModule}?intento=${attempt}`;
    loading = import(url).then(({ default: createCalc }) => createCalc()).then((calc) => {
      if (calc.UTF8ToString(calc._klimora_version()) !== calcVersion) throw new Error('another build');
      return calc;
    }).catch(() => {
      loading = null;
      throw new Error('sin-conexion');
    });
  }
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

// Why there is no calculation: no WebAssembly at all, or no connection.
function showUnavailable(reason) {
  document.getElementById('sin-calculo').hidden = reason !== 'sin-webassembly';
  document.getElementById('sin-conexion').hidden = reason !== 'sin-conexion';
  button.hidden = reason === 'sin-webassembly';
}

async function press() {
  let calc;
  try {
    showLoading(true);
    calc = await loadCalculator();
  } catch (failure) {
    showUnavailable(failure.message);
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

otherSeparatorButton.addEventListener('click', () => {
  chooseSeparator(otherSeparator(separator), true);
  press();
});

form.addEventListener('change', (event) => {
  if (event.target.name === 'atico') switchArea(event.target.value === 'si');
  if (event.target.name === 'separador') chooseSeparator(event.target.value, true);
});
window.addEventListener('pageshow', followRestoredAnswers);
for (const name of answerBoxes) field(name).dataset.describedby = field(name).getAttribute('aria-describedby') ?? '';
followRestoredAnswers();

const stored = storedSeparator();
chooseSeparator(stored === ',' || stored === '.' ? stored : languageSeparator(), false);

loadCalculator().then(() => showLoading(false), (failure) => {
  showLoading(false);
  showUnavailable(failure.message);
});

if ('serviceWorker' in navigator) {
  navigator.serviceWorker.register('sw.js').catch(() => {
    // No offline copy, as over plain http: the page works online all the same.
  });
}
