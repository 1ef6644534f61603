// The calculation's loading: its WebAssembly, fetched once, instantiated and
// checked to be this page's version, or the reason there is none.

// Filled in as the site is put together: the name carries a digest of its
// contents, so that no cache can pair this page with another build's module.
export const calcWasm = './klimora-calc.wasm';
const calcVersion = '{{version}}';

// Why there is no calculation: 'sin-webassembly', 'rechazado' (the browser
// will not compile or run genuine WebAssembly), 'sin-conexion' (no answer, a
// failing server or a page instead of the file, as a captive portal sends:
// the next press tries again), or 'otra-version' (the server no longer has
// this page's files).
const unavailable = (reason) => Object.assign(new Error(reason), { reason });
const gone = (response) => response.status === 404 || response.status === 410;

// A download that failed stays failed under its address: a retry asks again
// under a new one, which no cache holds.
let failedDownloads = 0;

async function downloadWasm() {
  let response = null;
  let bytes = null;
  try {
    response = await fetch(failedDownloads ? `${calcWasm}?intento=${failedDownloads}` : calcWasm);
    if (response.ok) bytes = await response.arrayBuffer();
  } catch {
    // No connection, or cut off midway.
  }
  if (response && gone(response)) throw unavailable('otra-version');
  if (bytes && WebAssembly.validate(bytes)) return bytes;
  failedDownloads += 1;
  throw unavailable('sin-conexion');
}

// A text the calculation wrote, ending at its NUL.
export function readText(calc, at) {
  const bytes = new Uint8Array(calc.memory.buffer, at);
  return new TextDecoder().decode(bytes.subarray(0, bytes.indexOf(0)));
}

// All the calculation asks of the page: to be told that its memory grew
// (each call makes its view anew), and to stop, as an abort does, which then
// fails as a trap.
const imports = {
  env: { emscripten_notify_memory_growth() {} },
  wasi_snapshot_preview1: {
    proc_exit(status) {
      throw new WebAssembly.RuntimeError(`exit ${status}`);
    },
  },
};

// A new instance of the calculation. A trap leaves an instance unusable, and
// the next press makes another from the same bytes.
async function newCalculator() {
  if (typeof WebAssembly !== 'object') throw unavailable('sin-webassembly');
  const bytes = await downloadWasm();
  let calc;
  try {
    calc = (await WebAssembly.instantiate(bytes, imports)).instance.exports;
    calc._initialize();
  } catch {
    throw unavailable('rechazado');
  }
  if (readText(calc, calc.klimora_version()) !== calcVersion) throw unavailable('otra-version');
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
