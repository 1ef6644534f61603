// The bridge to the calculation: every reading, sum and text of it comes from
// the same C++ as the desktop program, compiled to WebAssembly
// (klimora-calc.mjs). This module only moves texts to it and its result back.

export const answerBoxes = ['largo', 'ancho', 'puertas', 'paredes', 'personas'];
export const unexpected = 'Error inesperado';

// Both filled in as the site is put together: the names carry a digest of
// their contents, so that no cache can pair this page with another build's
// module.
export const calcModule = './klimora-calc.mjs';
const calcWasm = './klimora-calc.wasm';
const calcVersion = '{{version}}';

// Why there is no calculation: 'sin-webassembly', 'rechazado' (the browser
// will not compile or run genuine WebAssembly), 'sin-conexion' (no answer, a
// failing server or a page instead of the file, as a captive portal sends:
// the next press tries again), or 'otra-version' (the server no longer has
// this page's files).
const unavailable = (reason) => Object.assign(new Error(reason), { reason });
const gone = (response) => response.status === 404 || response.status === 410;

// A module that failed to load stays failed under its address: a retry asks
// again under a new one, which no cache holds.
let glue = null;
let failedDownloads = 0;
const address = (url) => (failedDownloads ? `${url}?intento=${failedDownloads}` : url);

async function whyNotImported(url) {
  try {
    return gone(await fetch(url, { method: 'HEAD', cache: 'no-store' })) ? 'otra-version' : 'sin-conexion';
  } catch {
    return 'sin-conexion';
  }
}

function importGlue() {
  if (!glue) {
    const url = address(calcModule);
    glue = import(url).catch(async () => {
      glue = null;
      failedDownloads += 1;
      throw unavailable(await whyNotImported(url));
    });
  }
  return glue;
}

async function downloadWasm() {
  let response = null;
  let bytes = null;
  try {
    response = await fetch(address(calcWasm));
    if (response.ok) bytes = await response.arrayBuffer();
  } catch {
    // No connection, or cut off midway.
  }
  if (response && gone(response)) throw unavailable('otra-version');
  if (bytes && WebAssembly.validate(bytes)) return bytes;
  failedDownloads += 1;
  throw unavailable('sin-conexion');
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

// A lone surrogate, which no UTF-8 holds, as the replacement character.
const wellFormed = (text) => text.replace(/\p{Cs}/gu, '\uFFFD');

// Every text goes in as its exact UTF-8 bytes, whatever characters it holds:
// calls call(buffer, ...byte lengths) with them in the calculation's memory.
function withBytes(calc, texts, call) {
  const encoder = new TextEncoder();
  const encoded = texts.map((text) => encoder.encode(text));
  const buffer = calc._malloc(Math.max(encoded.reduce((sum, text) => sum + text.length, 0), 1));
  if (!buffer) return null;
  try {
    let at = buffer;
    for (const text of encoded) {
      calc.HEAPU8.set(text, at);
      at += text.length;
    }
    return calc.UTF8ToString(call(buffer, ...encoded.map((text) => text.length)));
  } finally {
    calc._free(buffer);
  }
}

const withAnswers = (calc, answers, separator, entry) => withBytes(calc,
  answerBoxes.map((name) => answers.texts[name]), (buffer, ...lengths) => entry(answers.topFloor,
    answers.sunny, answers.appliances, buffer, ...lengths, separator.charCodeAt(0)));

// Gives the calculation's result, read by name: { total, equivalents,
// breakdown: [{ name, term, share, bar }], units: [{ text, corresponds }],
// advice }, or { error: { answer, message } } where answer names the box to
// mend, if any.
export function calculate(calc, answers, separator) {
  const reply = withAnswers(calc, answers, separator, calc._klimora_calculate);
  return reply === null ? { error: { answer: '', message: unexpected } } : JSON.parse(reply);
}

// The answers as a link's fragment, after its "#".
export const linkFragment = (calc, answers, separator) =>
  withAnswers(calc, answers, separator, calc._klimora_link) ?? '';

// What a fragment holds: { answers: [[name, value]], separator, whole }, or
// null for one that is no Klimora link.
export const readLink = (calc, fragment) =>
  JSON.parse(withBytes(calc, [fragment], calc._klimora_read_link) ?? 'null');

// Mi casa's figures for rooms given by their names and fragments, each room's
// read by its name: { rooms: [{ name, total, unit, readable }], total, units }
// (calc/home_report.h).
export const homeFigures = (calc, rooms, separator) => JSON.parse(withBytes(calc,
  [rooms.map(({ nombre, respuestas }) => `${encodeURIComponent(wellFormed(nombre))}#${respuestas}`).join('\n')],
  (buffer, length) => calc._klimora_home(buffer, length, separator.charCodeAt(0))) ?? 'null');
