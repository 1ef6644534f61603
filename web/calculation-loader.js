// The calculation's loading: its module and WebAssembly, fetched once and
// checked to be this page's version, or the reason there is none.

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
