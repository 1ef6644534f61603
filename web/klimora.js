// The questionnaire in the browser. Every reading, sum and text of the
// calculation comes from the same C++ as the desktop program, compiled to
// WebAssembly (klimora-calc.mjs); this file only moves texts between the page
// and it.

const form = document.getElementById('cuestionario');
const field = (name) => form.elements.namedItem(name);
const answerBoxes = ['largo', 'ancho', 'puertas', 'paredes', 'personas'];

// The calculation, loaded at once; null where the browser cannot run it.
const calculator = (async () => {
  if (typeof WebAssembly !== 'object') return null;
  try {
    const { default: createCalc } = await import('./klimora-calc.mjs');
    return await createCalc();
  } catch {
    return null;
  }
})();

calculator.then((calc) => {
  if (calc) return;
  document.getElementById('calcular').hidden = true;
  document.getElementById('sin-calculo').hidden = false;
});

// Every text goes in as its exact UTF-8 bytes, whatever characters it holds.
function calculate(calc, separator) {
  const encoder = new TextEncoder();
  const texts = answerBoxes.map((name) => encoder.encode(field(name).value));
  const bytes = texts.reduce((sum, text) => sum + text.length, 0);
  const buffer = calc._malloc(Math.max(bytes, 1));
  try {
    let at = buffer;
    for (const text of texts) {
      calc.HEAPU8.set(text, at);
      at += text.length;
    }
    const yes = (name) => (field(name).value === 'si' ? 1 : 0);
    const reply = calc._klimora_calculate(yes('atico'), yes('soleada'), yes('aparatos'), buffer,
      ...texts.map((text) => text.length), separator.charCodeAt(0));
    return calc.UTF8ToString(reply).split('\t');
  } finally {
    calc._free(buffer);
  }
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

form.addEventListener('change', (event) => {
  if (event.target.name === 'atico') switchArea(event.target.value === 'si');
  if (event.target.name === 'separador') chooseSeparator(event.target.value, true);
});

// The separator: the user's choice on this device, else the browser's language.
const storageKey = 'klimora.separador';
let separator = ',';

function storedSeparator() {
  try {
    return localStorage.getItem(storageKey);
  } catch {
    return null; // storage refused: nothing to remember with
  }
}

function languageSeparator() {
  const parts = new Intl.NumberFormat(navigator.language).formatToParts(1.5);
  return parts.find((part) => part.type === 'decimal')?.value === ',' ? ',' : '.';
}

function chooseSeparator(chosen, remember) {
  separator = chosen;
  for (const option of form.elements.namedItem('separador')) option.checked = option.value === chosen;
  document.getElementById('separador-nombre').textContent = chosen === ',' ? 'coma' : 'punto';
  document.getElementById('separador-ejemplo').textContent = `3${chosen}5`;
  if (!remember) return;
  try {
    localStorage.setItem(storageKey, chosen);
  } catch {
    // Private modes may refuse storage: the choice then lasts this visit.
  }
}

const stored = storedSeparator();
chooseSeparator(stored === ',' || stored === '.' ? stored : languageSeparator(), false);

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

form.addEventListener('submit', async (event) => {
  event.preventDefault();
  const calc = await calculator;
  if (!calc) return;
  const error = document.getElementById('error');
  for (const name of answerBoxes) field(name).removeAttribute('aria-invalid');
  const [kind, ...reply] = calculate(calc, separator);
  if (kind === 'total') {
    const [total, equivalents] = reply;
    const result = document.getElementById('resultado');
    error.textContent = '';
    announce(result, `${total} ${result.dataset.unidad}`);
    document.getElementById('equivalencias').textContent = equivalents;
    return;
  }
  const [box, message] = reply;
  announce(error, message);
  const wrong = box && field(box);
  if (wrong && !wrong.disabled) {
    wrong.setAttribute('aria-invalid', 'true');
    wrong.focus();
    wrong.select();
  }
});

if ('serviceWorker' in navigator) {
  navigator.serviceWorker.register('sw.js').catch(() => {
    // No offline copy, as over plain http: the page works online all the same.
  });
}
