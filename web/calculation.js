// The bridge to the calculation: every reading, sum and text of it comes from
// the same C++ as the desktop program, compiled to WebAssembly
// (klimora-calc.mjs). This module only moves texts to it and back.

export const answerBoxes = ['largo', 'ancho', 'puertas', 'paredes', 'personas'];
export const unexpected = 'Error inesperado';

// Both filled in as the site is put together: the names carry a digest of
// their contents, so that no cache can pair this page with another build's
// module.
export const calcModule = './klimora-calc.mjs';
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
export function loadCalculator() {
  loading ??= newCalculator().catch((failure) => {
    loading = null;
    throw failure;
  });
  return loading;
}

// After a trap: the next press gets a new instance.
export function forgetCalculator() {
  loading = null;
}

// The reply's lines after the first: the breakdown, the unit classes and the advice.
function report(lines) {
  const rows = [];
  const classes = [];
  let advice = '';
  for (const [kind, ...fields] of lines.map((line) => line.split('\t'))) {
    if (kind === 'row') rows.push({ name: fields[0], term: fields[1], share: fields[2], bar: fields[3] });
    if (kind === 'class') classes.push({ text: fields[0], corresponds: fields[1] === '1' });
    if (kind === 'advice') advice = fields[0];
  }
  return { rows, classes, advice };
}

// Every text goes in as its exact UTF-8 bytes, whatever characters it holds.
// Gives { total, equivalents, rows, classes, advice }, or { box, message }
// where box is the name of the answer to mend, if any.
export function calculate(calc, answers, separator) {
  const encoder = new TextEncoder();
  const texts = answerBoxes.map((name) => encoder.encode(answers.texts[name]));
  const bytes = texts.reduce((sum, text) => sum + text.length, 0);
  const buffer = calc._malloc(Math.max(bytes, 1));
  if (!buffer) return { box: '', message: unexpected };
  try {
    let at = buffer;
    for (const text of texts) {
      calc.HEAPU8.set(text, at);
      at += text.length;
    }
    const reply = calc._klimora_calculate(answers.topFloor, answers.sunny, answers.appliances,
      buffer, ...texts.map((text) => text.length), separator.charCodeAt(0));
    const text = calc.UTF8ToString(reply);
    if (text.startsWith('error\t')) {
      const [, place, message] = text.split('\t');
      return { box: answerBoxes[place] ?? '', message };
    }
    const [first, ...rest] = text.split('\n');
    const [, total, equivalents] = first.split('\t');
    return { total, equivalents, ...report(rest) };
  } finally {
    calc._free(buffer);
  }
}
