// Klimora's web page as a person uses it, in one engine (KLIMORA_BROWSER:
// chromium, firefox or webkit), served by nginx with the page's own
// configuration: controls found by their role and name, answers typed, results
// read as a screen reader would find them.
//
//     node --test tests/web/page_test.mjs   (KLIMORA_SITE: the site folder; webkit needs X)
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { cp, mkdtemp, readFile, readdir, rm, writeFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, before, test as nodeTest } from 'node:test';
import { promisify } from 'node:util';
import { byRole, launch, liveText } from './browsers.mjs';
import { answer, box, calculate, question, workedExample } from './questionnaire.mjs';
import { serveSite } from './serve_site.mjs';

const site = process.env.KLIMORA_SITE ?? 'build/web/site';
const engine = process.env.KLIMORA_BROWSER ?? 'chromium';
const phone = { width: 360, height: 740 };
const error13 = 'Error 13: No coinciden los tipos';
let server;
const browsers = new Map();
const scratch = [];
// A hung browser fails its test, not the whole run (Node 18 has no --test-timeout).
const test = (name, body) => nodeTest(name, { timeout: 120000 }, body);

before(async () => { server = await serveSite(site); });
after(async () => {
  for (const browser of browsers.values()) await (await browser).close();
  await server.close();
  for (const folder of scratch) await rm(folder, { recursive: true, force: true });
});

async function open({ language = 'es-ES', colorScheme = 'light', url = server.url } = {}) {
  const key = `${language} ${colorScheme}`;
  if (!browsers.has(key)) browsers.set(key, launch(engine, { language, colorScheme }));
  const page = await (await browsers.get(key)).newPage(phone);
  await page.goto(url);
  return page;
}

// A copy of the site, changed by edit(folder), served apart.
async function changedSite(edit, options) {
  const folder = await mkdtemp(path.join(tmpdir(), 'klimora-site-'));
  scratch.push(folder);
  await cp(site, folder, { recursive: true });
  await edit(folder);
  const copy = await serveSite(folder, options);
  after(() => copy.close());
  return { folder, server: copy };
}
// A file of a site copy, found by the pattern of its name, which carries a digest.
const named = async (folder, pattern) => (await readdir(folder)).find((name) => pattern.test(name));
const calcWasm = /^klimora-calc\.\w+\.wasm$/;
// Takes a file out of a site copy, with its gzipped copy; returns its name.
async function drop(folder, pattern) {
  const name = await named(folder, pattern);
  await rm(path.join(folder, name));
  await rm(path.join(folder, `${name}.gz`), { force: true });
  return name;
}
// Edits a file of a site copy; its gzipped copy, now stale, goes.
async function edit(file, change) {
  await writeFile(file, change(await readFile(file, 'utf8')));
  await rm(`${file}.gz`, { force: true });
}

// The page as printed on A4. WebKit's WebDriver cannot print: its engine
// prints a page of the same link and Mi casa.
async function printed(page) {
  if (engine !== 'webkit') return page.pdf();
  const [link, stored] = await page.evaluate(() => [document.getElementById('enlace-impreso').textContent,
    localStorage.getItem('klimora.mi-casa') ?? '']);
  const folder = await mkdtemp(path.join(tmpdir(), 'klimora-print-'));
  scratch.push(folder);
  await promisify(execFile)(new URL('webkit_print.py', import.meta.url).pathname, [link, stored, path.join(folder, 'page.pdf')]);
  return readFile(path.join(folder, 'page.pdf'));
}

// What poppler's pdfinfo says of a PDF, or pdftotext reads in it.
async function poppler(tool, pdf) {
  const folder = await mkdtemp(path.join(tmpdir(), 'klimora-print-'));
  scratch.push(folder);
  await writeFile(path.join(folder, 'page.pdf'), pdf);
  return (await promisify(execFile)(tool, [path.join(folder, 'page.pdf'), ...(tool === 'pdftotext' ? ['-'] : [])])).stdout;
}
const pdfInfo = (pdf) => poppler('pdfinfo', pdf);

async function shows(page, role, expected) {
  const wanted = expected.replace(/\s+/g, ' ');
  const deadline = Date.now() + 10000;
  // A page that reloads itself has no answer for a moment.
  const read = () => liveText(page, role).catch(() => null);
  let text = await read();
  while (text !== wanted && Date.now() < deadline) {
    await new Promise((resolve) => setTimeout(resolve, 50));
    text = await read();
  }
  assert.equal(text, wanted, role);
}

// Polls fn in the page until it gives something truthy, and returns that.
async function until(page, fn, ...args) {
  for (const deadline = Date.now() + 10000; ;) {
    // A page that reloads itself has no answer for a moment.
    const value = await page.evaluate(fn, ...args).catch(() => null);
    if (value || Date.now() > deadline) return value;
    await new Promise((resolve) => setTimeout(resolve, 50));
  }
}

const state = (page, selector, property) => page.evaluate((selector, property) =>
  document.querySelector(selector)[property], selector, property);

const areaExample = (separator) => ({
  choices: { 1: 'Si' }, texts: { Largo: `3${separator}3`, Ancho: `4${separator}1` },
});

test('the worked examples, with the separator of the browser\'s language, whatever it is',
  async () => {
    // "C" is what a bare system gives, and no language Intl knows.
    // Arabic's decimal mark, "٫", is neither: its keypads have the point.
    for (const [language, separator] of [['es-ES', ','], ['en-US', '.'], ['es-MX', '.'], ['C', ','],
      ['ar-EG', '.']]) {
      for (const [answers, total, equivalents] of [
        [workedExample, '3049', `Equivale a 3${separator}55 kW o 12099 BTU/h`],
        [areaExample(separator), `338${separator}24999332428`, `Equivale a 0${separator}39 kW o 1342 BTU/h`],
      ]) {
        const page = await open({ language });
        await answer(page, answers);
        await shows(page, 'status', `${total} frigorias/hora`);
        assert.equal(await state(page, '#equivalencias', 'textContent'), equivalents, language);
        assert.equal(new URL(await page.evaluate(() => location.href)).search, '', 'answers sent in the URL');
        await page.close();
      }
    }
  });

test('an error names its question, marks and describes its box beside it, and goes on the next press',
  async () => {
    const page = await open();
    await answer(page, workedExample);
    // Each mended answer changes the total, so that a stale one shows.
    for (const [name, text, message, mended, total] of [
      [question[2], '3.5', `${error13}\nRevise la respuesta a la pregunta [2].\nEste número lleva punto, y aquí los decimales van con coma.\nUsar punto para los decimales`, '4', '3387'],
      [question[3], '1e309', 'Error 6: Desbordamiento\nRevise la respuesta a la pregunta [3].', '10', '3452'],
      ['Largo', '4,x', `${error13}\nRevise la respuesta a la pregunta [1].`, '5', '3614,5'],
      ['Ancho', '', `${error13}\nRevise la respuesta a la pregunta [1].`, '6', '3777'],
    ]) {
      const wrong = await box(page, name);
      await page.type(wrong, text);
      await calculate(page);
      await shows(page, 'alert', message);
      assert.deepEqual(await page.evaluate((selector) => {
        const input = document.querySelector(selector);
        const error = document.getElementById('error').getBoundingClientRect();
        return [input === document.activeElement, input.getAttribute('aria-invalid'),
          input.getAttribute('aria-describedby').split(' ').includes('error'),
          error.top >= 0 && error.bottom <= innerHeight];
      }, wrong), [true, 'true', true, true], name);
      if (name === 'Largo') {
        // The same message again: a screen reader hears a change, so the region empties first.
        await page.evaluate(() => {
          const region = document.getElementById('error-texto');
          window.heard = [];
          new MutationObserver(() => window.heard.push(region.textContent))
            .observe(region, { childList: true, characterData: true, subtree: true });
        });
        await calculate(page);
        assert.deepEqual(await until(page, () => window.heard.length > 1 && window.heard), ['', message]);
      }
      await page.type(wrong, mended);
      await calculate(page);
      await shows(page, 'status', `${total} frigorias/hora`);
      await shows(page, 'alert', '');
      assert.equal(await page.evaluate((selector) => document.querySelector(selector)
        .hasAttribute('aria-invalid'), wrong), false, name);
    }
  });

test('a number written with the other separator offers that separator, one tap away', async () => {
  const page = await open();
  await answer(page, { texts: { [question[2]]: '3.5' } });
  await page.click(await byRole(page, 'button', 'Usar punto para los decimales'));
  await shows(page, 'status', '910 frigorias/hora');
  assert.equal(await state(page, await byRole(page, 'radio', 'Punto'), 'checked'), true);
  await page.reload();
  assert.equal(await state(page, await byRole(page, 'radio', 'Punto'), 'checked'), true);
  await page.click(await byRole(page, 'radio', 'Coma')); // as the other tests expect
});

// The breakdown's rows and the class marked as the one that corresponds.
const report = (page) => page.evaluate(() => [
  ...[...document.getElementById('desglose').tBodies[0].rows]
    .map((row) => [...row.cells].map((cell) => cell.textContent.replace(/\s+/g, ' ').trim()).join(' ')),
  ...[...document.querySelectorAll('#equipos [aria-current=true]')].map((item) => item.textContent.replace(/\s+/g, ' ')),
]);
const workedReport = ['Techo 500 16 %', 'Puertas y ventanas 780 26 %', 'Paredes 450 15 %', 'Sol 519 17 %',
  'Personas 300 10 %', 'Luces y aparatos 500 16 %',
  '12000 BTU/h · 3000 frigorías · 3,5 kW: cubre el 98 %. Es el que corresponde'];
const unreadLink = 'Parte del enlace no se ha podido leer: esas respuestas se han dejado como al principio.';

test('a result prints on one page, is shared as a link that brings it back, and a bad link runs nothing',
  async (t) => {
    const page = await open();
    await answer(page, workedExample);
    await shows(page, 'status', '3049 frigorias/hora');
    assert.deepEqual(await report(page), workedReport);
    await page.click(await byRole(page, 'button', 'Compartir'));
    // No share sheet on a desktop: the clipboard, or else the link to copy.
    const link = await until(page, () => {
      const box = document.getElementById('enlace');
      if (document.getElementById('compartido').textContent === 'Enlace copiado') return 'copiado';
      return !box.hidden && document.activeElement === box && box.selectionEnd === box.value.length && box.value;
    });
    const written = await state(page, '#enlace-impreso', 'textContent');
    if (link !== 'copiado') assert.equal(link, written);
    assert.match(written, /^[^?]+#v=1&sep=coma&atico=si&largo=4&/);

    // The printed page: one A4 sheet, with no control but the answers.
    if (engine === 'chromium') {
      await page.native.emulateMedia({ media: 'print' });
      assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll('button, [name=separador], #enlace-impreso')]
        .filter((element) => element.getClientRects().length).map((element) => element.id)), ['enlace-impreso']);
      await page.native.emulateMedia({ media: null });
    }
    assert.match(await pdfInfo(await printed(page)), /^Pages: +1$/m);

    // Printed after an edit or a failed press: never the total beside answers that do not give it.
    const printsOnly = async (expected) => {
      await page.native.emulateMedia({ media: 'print' });
      assert.deepEqual(await page.evaluate(() => ['#resultado', '#detalle', '#desfasado', '#error-impreso']
        .filter((selector) => document.querySelector(selector).getClientRects().length)), expected);
      await page.native.emulateMedia({ media: null });
    };
    await page.type(await box(page, question[5]), '3');
    assert.equal(await state(page, '#desfasado', 'hidden'), false);
    assert.equal(await page.evaluate(() => document.getElementById('compartir').getClientRects().length), 0, 'a stale link offered');
    if (engine === 'chromium') await printsOnly([]);

    // With the comma chosen: a typo is a typo, and both separators together say so.
    for (const [puertas, hint] of [['abc', ''], ['3.5', '\nHay respuestas con coma y con punto. Escriba todos los decimales con coma.']]) {
      await answer(page, { choices: { 1: 'Si' }, texts: { Largo: '3,3', Ancho: '4,1', [question[2]]: puertas } });
      await shows(page, 'alert', `${error13}\nRevise la respuesta a la pregunta [2].${hint}`);
    }
    assert.equal(await state(page, '#detalle', 'hidden'), true);
    if (engine === 'chromium') await printsOnly(['#error-impreso']);
    // Only a Klimora link fills in; any other fragment is the page's own.
    for (const [fragment, total] of [['arriba', null], ['v=1&sep=coma&personas=3', '450']]) {
      await page.evaluate((fragment) => { location.hash = fragment; }, fragment);
      if (total) await shows(page, 'status', `${total} frigorias/hora`);
      else assert.equal(await state(page, '#puertas', 'value'), '3.5');
    }

    // Another browser, another language's separator: the link's answers and separator.
    const opened = await open({ language: 'en-US', url: written });
    await shows(opened, 'status', '3049 frigorias/hora');
    assert.deepEqual([await report(opened), await state(opened, await byRole(opened, 'radio', 'Coma'), 'checked'),
      await opened.evaluate(() => location.hash)], [workedReport, true, '']);
    // Where the comma is usual, a link with the point, reloaded, keeps it.
    const point = await open({ url: `${server.url}#v=1&sep=punto&atico=si&largo=3.3&ancho=4.1` });
    await shows(point, 'status', '338.24999332428 frigorias/hora');
    await point.reload();
    await shows(point, 'status', '338.24999332428 frigorias/hora');

    for (const [fragment, shown] of [
      ['#v=1&sep=coma&atico=si&largo=4&ancho=5&puertas=3%&paredes=9&<img src=x onerror=pwned=1>=1' +
        '&soleada=<script>pwned=1</script>&personas=2', `${unreadLink} 1250 frigorias/hora`],
      // Into the answers, as text.
      ['#v=1&sep=coma&paredes=<img src=x onerror=pwned=1>&personas=<script>pwned=1</script>', ''],
      ['#v=1&sep=coma&atico=si&lar', `${unreadLink} 0 frigorias/hora`],
      [`#v=1&personas=${'9'.repeat(300000)}`, `${unreadLink} 0 frigorias/hora`],
      ['#v=9&personas=2', `${unreadLink} 0 frigorias/hora`],
    ]) {
      const bad = await open({ url: server.url + fragment });
      if (!shown) await shows(bad, 'alert', `${error13}\nRevise la respuesta a la pregunta [3].`);
      await shows(bad, 'status', shown);
      assert.deepEqual(await bad.evaluate(() => [typeof window.pwned, document.querySelector('[onerror], body script')]),
        ['undefined', null], fragment.slice(0, 40));
      await bad.close();
    }
    // Answers too long for a link are calculated, but neither shared nor saved.
    const long = await open();
    await answer(long, { texts: { [question[3]]: `${'0'.repeat(2000)}1` } });
    for (const [name, said] of [['Compartir', 'un enlace'], ['Guardar en Mi casa', 'guardarlas']]) {
      await long.click(await byRole(long, 'button', name));
      assert.equal(await announced(long, `Estas respuestas son demasiado largas para ${said}: acorte alguna y pulse «Calcular».`), true);
    }
  });

test('question [1] switches the length and width, which keep their text, however the page is restored',
  async () => {
    const page = await open();
    await answer(page, { choices: { 1: 'Si' }, texts: { Largo: '4', Ancho: 'x' } });
    await page.click(await byRole(page, 'radio', 'No', question[1]));
    assert.deepEqual([await state(page, '#largo', 'disabled'), await state(page, '#ancho', 'value')],
      [true, 'x']);
    await calculate(page);
    await shows(page, 'alert', `${error13}\nRevise la respuesta a la pregunta [1].`);
    // A reload, or a way back, may bring the answers back: the boxes follow them.
    await page.click(await byRole(page, 'radio', 'Si', question[1]));
    for (const away of [() => page.reload(), async () => {
      await page.goto(`${server.url}icons/klimora.svg`);
      await page.evaluate(() => history.back());
    }]) {
      await away();
      await new Promise((resolve) => setTimeout(resolve, 500));
      assert.deepEqual([await state(page, 'input[name=atico][value=si]', 'checked'),
        await state(page, '#largo', 'disabled'), await state(page, '#ancho', 'value')], [true, false, 'x']);
    }
  });

test('texts of every kind and size reach the calculation whole', async () => {
  const page = await open();
  for (const [texts, role, expected] of [
    // One UTF-16 unit, two bytes: a length in the wrong unit shifts the next box.
    [{ [question[2]]: '\u0663', [question[3]]: '9' }, 'alert', `${error13}\nRevise la respuesta a la pregunta [2].`],
    [{ [question[2]]: '0', [question[3]]: '\u00a03,5', [question[5]]: '2' }, 'status', '475 frigorias/hora'],
  ]) {
    await answer(page, { texts });
    await shows(page, role, expected);
  }
  // More than the calculation's first 16 MB of memory, pasted at once. WebKit
  // keeps only the first half megabyte of a box, and its 7 is lost.
  const whole = await page.evaluate(() => {
    const walls = document.getElementById('paredes');
    walls.value = `${'0'.repeat(17 << 20)}7`;
    return walls.value.endsWith('7');
  });
  await calculate(page);
  await shows(page, 'status', whole ? '650 frigorias/hora' : '300 frigorias/hora');
});

test('at 360 pixels, and with text twice as large, nothing is clipped and every target is large',
  async () => {
    const page = await open();
    await answer(page, workedExample);
    await page.click(await byRole(page, 'button', 'Guardar en Mi casa'));
    for (const textSize of ['100%', '200%']) {
      const faults = await page.evaluate(async (textSize) => {
        document.documentElement.style.fontSize = textSize;
        for (const input of document.querySelectorAll('input[type=text]')) input.value = '13,53';
        await new Promise(requestAnimationFrame);
        const shown = (element) => element.getClientRects().length;
        return [
          ...[...document.querySelectorAll('input, button')].filter(shown)
            .filter((control) => control.offsetWidth < 44 || control.offsetHeight < 44)
            .map((control) => `small: ${control.id || control.name}`),
          ...[...document.querySelectorAll('input[type=text]')]
            .filter((input) => input.scrollWidth > input.clientWidth).map((input) => `clipped: ${input.id}`),
          ...[...document.querySelectorAll('body *')].filter(shown)
            .filter((element) => element.textContent.trim() && parseFloat(getComputedStyle(element).fontSize) < 16)
            .map((element) => `small text: ${element.tagName}`),
          ...(document.documentElement.scrollWidth > innerWidth ? ['page wider than the screen'] : []),
        ];
      }, textSize);
      assert.deepEqual(faults, [], textSize);
    }
    await page.evaluate(() => localStorage.clear());
  });

test('axe finds nothing to fix, in the light or the dark', async () => {
  // Served beside the page: its policy runs no script from elsewhere.
  const withAxe = await changedSite((folder) =>
    cp(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), path.join(folder, 'axe.min.js')));
  for (const colorScheme of ['light', 'dark']) {
    const page = await open({ colorScheme, url: withAxe.server.url });
    // A result with its breakdown, saved in Mi casa, and an error beside it.
    await answer(page, workedExample);
    await page.click(await byRole(page, 'button', 'Guardar en Mi casa'));
    await answer(page, { texts: { [question[5]]: 'dos' } });
    const violations = await page.evaluate(async () => {
      await new Promise((resolve, reject) => document.head.append(
        Object.assign(document.createElement('script'), { src: 'axe.min.js', onload: resolve, onerror: reject })));
      return (await window.axe.run()).violations
        .map((violation) => `${violation.id}: ${violation.nodes.map((node) => node.target).join(' ')}`);
    });
    assert.deepEqual(violations, [], colorScheme);
  }
});

test('the radios and their answers stay visible in forced colours', async (t) => {
  if (engine !== 'chromium') return t.skip(`${engine} cannot be put into forced colours from here`);
  const page = await open();
  await page.native.emulateMedia({ forcedColors: 'active' });
  const picture = () => page.native.locator('input[name=soleada][value=si]').screenshot();
  const unchecked = await picture();
  await page.click(await byRole(page, 'radio', 'Si', question[4]));
  assert.equal(unchecked.equals(await picture()), false, 'a checked radio looks unchecked');
});

test('each way the calculation can fail says why, and offers the way on', async () => {
  const page = (folder) => path.join(folder, 'index.html');
  for (const [change, message, wayOn, options] of [
    [async (folder) => {
      await writeFile(path.join(folder, 'sin-wasm.js'), 'delete globalThis.WebAssembly;\n');
      await edit(page(folder), (html) =>
        html.replace('<link rel="stylesheet"', '<script src="sin-wasm.js"></script>\n  <link rel="stylesheet"'));
    }, 'Este navegador no puede hacer el cálculo: necesita WebAssembly, y no lo tiene. Pruebe con un navegador actualizado.'],
    [(folder) => edit(page(folder), (html) => html.replace(' \'wasm-unsafe-eval\'', '')),
      'Este navegador no puede hacer el cálculo: no le deja ponerlo en marcha. Pruebe con un navegador actualizado o con otro.'],
    // Pressed before any script of the page has run.
    [(folder) => drop(folder, /^klimora\.\w+\.js$/),
      'No se ha podido poner en marcha la página. Vuelva a cargarla; si sigue igual, pruebe con un navegador actualizado.',
      (opened) => opened.click('#calcular')],
    // A busy server, and a captive portal's page for the calculation, may pass.
    // A copy of Mi casa then is not called a bad one.
    [async () => {}, 'No se ha podido descargar el cálculo: sin conexión. Vuelva a pulsar «Calcular» cuando tenga conexión.',
      async (opened, folder) => {
        await writeFile(path.join(folder, 'copia.json'), JSON.stringify({ formato: 'klimora-mi-casa', version: 1, habitaciones: [] }));
        await opened.upload('#archivo-copia', path.join(folder, 'copia.json'));
        await shows(opened, 'status', 'La copia no se ha podido comprobar. Mi casa no ha cambiado.');
      }, { busy: '^/klimora-calc\\.\\w+\\.wasm$' }],
    [async (folder) => edit(path.join(folder, await named(folder, /\.wasm$/)), () => '<!DOCTYPE html><title>Wi-Fi</title>'),
      'No se ha podido descargar el cálculo: sin conexión. Vuelva a pulsar «Calcular» cuando tenga conexión.'],
    // The server has moved on: the page reloads once, then offers it.
    [(folder) => drop(folder, calcWasm),
      'Hay una versión nueva de la página, y esta ya no puede calcular. Cargar la versión nueva',
      async (opened, folder) => {
        assert.equal(await opened.evaluate(() => performance.getEntriesByType('navigation')[0].type), 'reload');
        await answer(opened, workedExample);
        // That press fails too; the files come back only once it has.
        await until(opened, () => document.getElementById('calcular').getAttribute('aria-busy') === 'false');
        await cp(site, folder, { recursive: true });
        await opened.click(await byRole(opened, 'button', 'Cargar la versión nueva'));
        await until(opened, () => document.getElementById('otra-version').hidden);
        await calculate(opened);
        await shows(opened, 'status', '3049 frigorias/hora');
      }],
  ]) {
    const changed = await changedSite(change, options);
    const opened = await open({ url: changed.server.url });
    await shows(opened, 'alert', message);
    await wayOn?.(opened, changed.folder);
    assert.equal(new URL(await opened.evaluate(() => location.href)).search, '', 'answers sent in the URL');
  }
});

const workerReady = (page) => page.evaluate(async () => {
  await navigator.serviceWorker.ready;
  while (!navigator.serviceWorker.controller) await new Promise((resolve) => setTimeout(resolve, 50));
});
// The addresses the offline copy holds.
const cached = (page) => page.evaluate(async () => {
  const names = await caches.keys();
  const held = await Promise.all(names.map(async (name) => (await caches.open(name)).keys()));
  return held.flat().map((request) => new URL(request.url).pathname).sort();
});

test('a trap is an unexpected error, the press after it calculates, and an evicted copy comes back',
  async () => {
    // Sent uncached, so that only the network or the worker can answer.
    const trapping = await changedSite(async (folder) => {
      // The first instance of the calculation on a page traps at every press, and every call
      // into it is counted, as window.calls: the page's own script, which the worker keeps, says so.
      await edit(path.join(folder, await named(folder, /^klimora\.\w+\.js$/)), (script) =>
        'const instantiate = WebAssembly.instantiate; let instances = 0;' +
        'WebAssembly.instantiate = async (...args) => { const { instance } = await instantiate(...args);' +
        'const first = ++instances === 1; const exports = { ...instance.exports };' +
        'for (const name of Object.keys(exports).filter((key) => key.startsWith("klimora_"))) {' +
        'const entry = exports[name]; exports[name] = (...given) => { window.calls = (window.calls ?? 0) + 1;' +
        'if (first && name === "klimora_press") throw new WebAssembly.RuntimeError("unreachable");' +
        'return entry(...given); }; } return { instance: { exports } }; };' + script);
    }, { headers: { 'Cache-Control': 'no-store' } });
    const page = await open({ url: trapping.server.url });
    await answer(page, workedExample);
    await shows(page, 'alert', 'Error inesperado');
    await workerReady(page);
    const offlineCopy = await cached(page);
    await page.evaluate(async () => { for (const name of await caches.keys()) await caches.delete(name); });
    await trapping.server.stop();
    await calculate(page);
    await shows(page, 'alert', 'No se ha podido descargar el cálculo: sin conexión. Vuelva a pulsar «Calcular» cuando tenga conexión.');
    await trapping.server.start();
    await calculate(page);
    await shows(page, 'status', '3049 frigorias/hora');
    // A press is one call into the calculation.
    await page.evaluate(() => { window.calls = 0; });
    await calculate(page);
    assert.equal(await until(page, () => window.calls), 1);
    await shows(page, 'status', '3049 frigorias/hora');
    // Back online, the worker has put the copy back: the page works offline again.
    assert.deepEqual(await until(page, async (length) => {
      const held = (await caches.keys()).length && await (await caches.open((await caches.keys())[0])).keys();
      return held.length === length;
    }, offlineCopy.length), true);
    assert.deepEqual(await cached(page), offlineCopy);
    await trapping.server.stop();
    await page.reload();
    // The answers come back and are calculated, by a first instance again.
    await shows(page, 'alert', 'Error inesperado');
    await calculate(page);
    await shows(page, 'status', '3049 frigorias/hora');
  });

// The next build, as a deploy leaves it: every digested file under a new name,
// every name that refers to one rewritten, and the old files gone.
async function deployNextVersion(folder) {
  const digested = /^(.+)\.[0-9a-f]{10}(\.\w+)$/;
  const renamed = new Map((await readdir(folder)).filter((name) => digested.test(name))
    .map((name) => [name, name.replace(digested, '$1.bbbbbbbbbb$2')]));
  const rewrite = (text) => [...renamed].reduce((text, [from, to]) => text.replaceAll(from, to), text);
  for (const [from, to] of renamed) {
    const bytes = await readFile(path.join(folder, from));
    await writeFile(path.join(folder, to), from.endsWith('.wasm') ? bytes : rewrite(bytes.toString()));
    await rm(path.join(folder, from));
    await rm(path.join(folder, `${from}.gz`), { force: true });
  }
  await edit(path.join(folder, 'index.html'), (html) => rewrite(html).replace('<title>Klimora', '<title>Klimora B'));
  await edit(path.join(folder, 'sw.js'), (worker) => rewrite(worker).replace(/[0-9a-f]{12}`/, 'bbbbbbbbbbbb`'));
}

test('a first visit downloads each file once; offline it calculates; an open page follows an update',
  async (t) => {
    // Version A, sent as many static hosts send it, with a lifetime.
    const hosted = await changedSite(async () => {}, { headers: { 'Cache-Control': 'max-age=600' } });
    const page = await open({ url: `${hosted.server.url}#arriba` });
    await workerReady(page);
    const sent = (await hosted.server.sent()).filter((response) => response.bytes > 0).map((response) => response.uri);
    if (engine === 'webkit') {
      // Its automation sessions keep no HTTP cache that its worker could share.
      t.diagnostic(`webkit sent ${sent.length} files for ${new Set(sent).size}`);
    } else {
      assert.deepEqual(sent.filter((uri, at) => sent.indexOf(uri) !== at), [], 'sent twice');
    }
    if (engine === 'chromium') {
      const cdp = await page.native.context().newCDPSession(page.native);
      assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    } else {
      t.diagnostic(`${engine} has no installability check to ask; its service worker is checked`);
    }
    await answer(page, workedExample);
    await shows(page, 'status', '3049 frigorias/hora');

    // The page stays open through the update, and comes back as B with its result,
    // at its address, fragment included.
    await deployNextVersion(hosted.folder);
    await page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
    assert.equal(await until(page, () => document.title.startsWith('Klimora B')), true);
    await shows(page, 'status', '3049 frigorias/hora');
    assert.equal(await page.evaluate(() => location.hash), '#arriba');
    await hosted.server.stop();
    await page.reload();
    assert.equal(await page.evaluate(() => document.title), 'Klimora B: frigorías por hora');
    await shows(page, 'status', '3049 frigorias/hora');
    const held = await cached(page);
    assert.deepEqual(held.filter((file) => /\.[0-9a-f]{10}\./.test(file) && !file.includes('bbbbbbbbbb')), []);
  });

test('nginx keeps only successful answers for long, and says what they vary on', async () => {
  const wasm = await named(site, /\.wasm$/);
  for (const [file, expected] of [
    [wasm, [200, 'public, max-age=31536000, immutable', 'Accept-Encoding']],
    [wasm.replace(/[0-9a-f]{10}/, '0000000000'), [404, 'no-store', null]],
    ['', [200, 'no-cache', 'Accept-Encoding']],
  ]) {
    // Node's fetch asks localhost on ::1 only, where nginx does not listen.
    const response = await fetch(new URL(file, server.url.replace('localhost', '127.0.0.1')));
    assert.deepEqual([response.status, response.headers.get('cache-control'), response.headers.get('vary')],
      expected, file);
  }
});

// Mi casa as its list shows it: each room, then the home's total and units.
async function homeShown(page, rooms) {
  const shown = await until(page, (rooms) => {
    const items = [...document.querySelectorAll('#habitaciones li')];
    return items.length === rooms && [...items.map((item) => [...item.children].slice(0, 3)
      .map((part) => part.textContent).join(' · ')), document.getElementById('total-casa').textContent,
    document.getElementById('equipos-casa').textContent];
  }, rooms);
  assert.ok(shown, `${rooms} rooms in Mi casa`);
  return shown;
}
const shownResult = (page, total) => until(page, (total) =>
  document.getElementById('resultado').textContent === total, `${total} frigorias/hora`);
const announced = (page, said) => until(page, (said) => [...document.querySelectorAll('[role=status]')]
  .some((status) => status.textContent === said), said);
const focused = (page) => page.evaluate(() => document.activeElement.getAttribute('aria-label') ?? document.activeElement.id);
const isolated = (name) => `\u2068${name}\u2069`;
const quoted = (name) => `«${isolated(name)}»`;
const copyOf = (rooms, changes = {}) => JSON.stringify({ formato: 'klimora-mi-casa', version: 1, habitaciones: rooms, ...changes });

test('Mi casa keeps its rooms through a reload and two tabs, goes there and back as a copy, and refuses bad ones',
  async (t) => {
    const page = await open();
    const folder = await mkdtemp(path.join(tmpdir(), 'klimora-copias-'));
    scratch.push(folder);
    const upload = async (tab, name, text) => {
      await writeFile(path.join(folder, name), text);
      await tab.upload('#archivo-copia', path.join(folder, name));
    };
    const save = async (tab, name) => {
      await tab.type(await box(tab, 'Nombre de la habitación'), name);
      await tab.click(await byRole(tab, 'button', 'Guardar en Mi casa'));
    };
    await answer(page, workedExample);
    await save(page, 'Cocina');
    await shows(page, 'status', '3049 frigorias/hora Guardada en Mi casa');
    // A name of nothing visible is no name.
    await save(page, '\u200b ');
    await save(page, 'Cocina');
    await shows(page, 'status', `3049 frigorias/hora ${quoted('Cocina')} reemplazada en Mi casa.`);
    // Only the answers whose total is on screen.
    await page.type(await box(page, question[5]), '3');
    await save(page, 'Cocina');
    await shows(page, 'status', '3049 frigorias/hora El resultado es de las respuestas anteriores: pulse «Calcular» antes de guardar.');
    await page.type(await box(page, question[5]), '2');
    const kitchen = '3049 frigorias/hora · 12000 BTU/h · 3000 frigorías';
    await page.reload();
    assert.deepEqual(await homeShown(page, 2), [`Cocina · ${kitchen}`, `Habitación 1 · ${kitchen}`,
      'Total de la casa: 6098 frigorías/hora', '2 equipos de 3000 frigorías']);

    // A second tab saves, then each tab saves and deletes while the other is open: nothing is lost.
    const other = await page.openTab();
    await other.goto(server.url);
    await answer(other, areaExample(','));
    await save(other, 'Dormitorio');
    await homeShown(page, 3);
    await save(page, 'Salón');
    await homeShown(other, 4);
    // Back, from the cache that keeps a page as it was, a tab reads Mi casa again.
    await other.goto(`${server.url}icons/klimora.svg`);
    await page.click(await byRole(page, 'button', `Borrar ${isolated('Habitación 1')}`));
    await other.back();
    await homeShown(other, 3);
    await page.click(await byRole(page, 'button', 'Deshacer'));
    await homeShown(other, 4);
    await other.close();
    const bedroom = '338,24999332428 frigorias/hora · 9000 BTU/h · 2250 frigorías';
    const rooms = [`Cocina · ${kitchen}`, `Habitación 1 · ${kitchen}`, `Dormitorio · ${bedroom}`, `Salón · ${kitchen}`];
    assert.deepEqual(await homeShown(page, 4), [...rooms, 'Total de la casa: 9485,24999332428 frigorías/hora',
      '1 equipo de 2250 frigorías y 3 de 3000 frigorías']);
    await page.click(await byRole(page, 'button', `Abrir ${isolated('Dormitorio')}`));
    assert.equal(await shownResult(page, '338,24999332428'), true);
    // The list drawn anew keeps the focus where it was.
    assert.equal(await focused(page), `Abrir ${isolated('Dormitorio')}`);

    // Each change undone puts back exactly what was, or says why it cannot and changes nothing.
    // Shown without the override of its own, which would undo the isolation.
    const rtl = 'مطبخ \u202eA1';
    const shownRtl = 'مطبخ A1';
    const base = await page.evaluate((rtl) => {
      const stored = JSON.parse(localStorage.getItem('klimora.mi-casa'));
      stored.habitaciones.push({ ...stored.habitaciones[0], nombre: rtl });
      return stored;
    }, rtl);
    const names = base.habitaciones.map(({ nombre }) => (nombre === rtl ? shownRtl : nombre));
    const store = (tab, list) => tab.evaluate((text) => localStorage.setItem('klimora.mi-casa', text), copyOf(list));
    const elsewhere = { ...base.habitaciones[0], nombre: 'Dormitorio' };
    for (const [change, act, said, after, focus] of [
      ['a deletion', async () => page.click(await byRole(page, 'button', `Borrar ${isolated(shownRtl)}`)),
        `${quoted(shownRtl)} ha vuelto a Mi casa.`, names, `Abrir ${isolated(shownRtl)}`],
      ['a deletion whose name is saved again since', async () => {
        await page.click(await byRole(page, 'button', `Borrar ${isolated('Dormitorio')}`));
        await store(page, [...base.habitaciones.filter(({ nombre }) => nombre !== 'Dormitorio'), elsewhere]);
      }, `No se puede deshacer: ${quoted('Dormitorio')} ha cambiado en Mi casa desde entonces.`,
      [...names.filter((name) => name !== 'Dormitorio'), 'Dormitorio'], 'borrada'],
      ['a deletion, the room before it deleted elsewhere', async () => {
        await page.click(await byRole(page, 'button', `Borrar ${isolated('Dormitorio')}`));
        await store(page, base.habitaciones.filter(({ nombre }) => !['Cocina', 'Dormitorio'].includes(nombre)));
      }, `${quoted('Dormitorio')} ha vuelto a Mi casa.`, names.slice(1), `Abrir ${isolated('Dormitorio')}`],
      ['a deletion into a full Mi casa', async () => {
        await page.click(await byRole(page, 'button', `Borrar ${isolated('Dormitorio')}`));
        await store(page, Array.from({ length: 100 }, (_, at) => ({ ...elsewhere, nombre: `H${at}` })));
      }, 'No se puede deshacer: Mi casa ya tiene 100 habitaciones.', null, 'borrada'],
      // Saved under the same name, typed decomposed.
      ['a replacement', () => save(page, 'Salo\u0301n'), `${quoted('Salón')} vuelve a tener sus respuestas de antes.`,
        names, `Abrir ${isolated('Salón')}`],
      ['a copy', () => upload(page, 'sobre.json', copyOf([{ ...elsewhere, nombre: 'Cocina' }, { ...elsewhere, nombre: 'Baño' }])),
        'Copia deshecha: Mi casa está como antes de cargarla.', names, `Abrir ${isolated('Cocina')}`],
    ]) {
      await store(page, base.habitaciones);
      await page.reload();
      await homeShown(page, names.length);
      await act();
      await page.click(await byRole(page, 'button', 'Deshacer'));
      assert.equal(await announced(page, said), true, change);
      if (after) assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll('#habitaciones strong')].map((name) => name.textContent)), after, change);
      assert.equal(await focused(page), focus, change);
    }
    // A name in another script, or holding bidi controls, moves no word beside it when printed.
    if (engine === 'chromium') {
      await page.native.emulateMedia({ media: 'print' });
      assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll('#habitaciones li')].filter((item) => {
        const [name, total] = item.children;
        const at = (offset) => {
          const range = document.createRange();
          range.setStart(total.firstChild, offset);
          range.setEnd(total.firstChild, offset + 1);
          return range.getBoundingClientRect().left;
        };
        return !(at(0) >= name.getBoundingClientRect().right && at(0) < at(total.textContent.length - 1));
      }).length), 0);
      await page.native.emulateMedia({ media: null });
    }
    await store(page, base.habitaciones.filter(({ nombre }) => nombre !== rtl));
    await page.reload();
    await homeShown(page, 4);

    // The copy, carried to a browser that holds nothing, where the point is usual.
    // What the download holds, kept as the page hands it over.
    await page.evaluate(() => {
      const made = URL.createObjectURL;
      URL.createObjectURL = (blob) => {
        window.copied = blob;
        return made(blob);
      };
      HTMLAnchorElement.prototype.click = function keep() { window.copiedAs = this.download; };
    });
    await page.click(await byRole(page, 'button', 'Descargar copia'));
    const [fileName, copy] = await until(page, async () => window.copiedAs &&
      [window.copiedAs, await window.copied.text()]);
    assert.equal(fileName, 'mi-casa.json');
    // A later version's Mi casa is never written over, nor taken for storage refused.
    const later = copyOf([], { version: 3 });
    await page.evaluate((text) => localStorage.setItem('klimora.mi-casa', text), later);
    await page.reload();
    await save(page, 'Otra');
    await shows(page, 'status', '338,24999332428 frigorias/hora Mi casa la guardó una versión más nueva de Klimora, ' +
    'y esta no puede cambiarla. Vuelva a cargar la página para usar esa versión.');
    assert.equal(await page.evaluate(() => localStorage.getItem('klimora.mi-casa')), later);
    // What no version reads is kept apart, and Mi casa starts afresh.
    await page.evaluate((text) => localStorage.setItem('klimora.mi-casa', text), later.slice(0, -3));
    await page.reload();
    await save(page, 'Otra');
    await shows(page, 'status', '338,24999332428 frigorias/hora Guardada en Mi casa');
    assert.equal(await page.evaluate(() => localStorage.getItem('klimora.mi-casa.danada')), later.slice(0, -3));
    await page.evaluate(() => localStorage.clear());
    const fresh = await open({ language: 'es-MX' });
    await upload(fresh, 'mi-casa.json', copy);
    await shows(fresh, 'status', 'Copia cargada. Añadidas: 4. Reemplazadas: 0.');
    const inPoint = rooms.map((room) => room.replace('338,', '338.'));
    assert.deepEqual((await homeShown(fresh, 4)).slice(0, 4), inPoint);

    // Refused whole, with Mi casa as it was.
    const room = JSON.parse(copy).habitaciones[0];
    const notACopy = 'Ese archivo no es una copia de Mi casa. Mi casa no ha cambiado.';
    for (const [name, text, said] of [
      ['vacia.json', '', notACopy],
      ['cortada.json', copy.slice(0, -10), notACopy],
      ['otra-forma.json', copyOf({ [room.nombre]: room.respuestas }), notACopy],
      ['posterior.json', copyOf([room], { version: 3 }), 'Esa copia es de una versión más nueva de Klimora: actualice esta página y vuelva a cargarla. Mi casa no ha cambiado.'],
      ['enorme.json', copyOf([room]) + ' '.repeat(1024 * 1024), 'Ese archivo pasa de 1 MB: no es una copia de Mi casa. Mi casa no ha cambiado.'],
      ['101.json', copyOf(Array.from({ length: 101 }, (_, at) => ({ ...room, nombre: `H${at}` }))),
        'Esa copia tiene 101 habitaciones, y Mi casa guarda como mucho 100. Mi casa no ha cambiado.'],
      ['nombre-largo.json', copyOf([{ ...room, nombre: 'x'.repeat(61) }]),
        `La habitación 1 de la copia, ${quoted(`${'x'.repeat(60)}…`)}, tiene un nombre de más de 60 caracteres. Mi casa no ha cambiado.`],
      ['invisible.json', copyOf([room, { ...room, nombre: '\u200b' }]), 'La habitación 2 de la copia no tiene nombre. Mi casa no ha cambiado.'],
      ['repetido.json', copyOf([{ ...room, nombre: 'Salón' }, { ...room, nombre: ' Salo\u0301n' }]),
        `La habitación 2 de la copia, ${quoted('Salón')}, tiene el mismo nombre que la 1. Mi casa no ha cambiado.`],
      ...[5, 'largo=4', `${room.respuestas}&nombre=x`].map((respuestas, at) => [`respuestas-${at}.json`,
        copyOf([{ ...room, nombre: 'B' }, { ...room, respuestas }]),
        `La habitación 2 de la copia, ${quoted(room.nombre)}, tiene respuestas que no se pueden leer. Mi casa no ha cambiado.`]),
      ['desborda.json', copyOf(Array.from({ length: 97 }, (_, at) => ({ ...room, nombre: `H${at}` }))),
        'Con esa copia Mi casa pasaría de 100 habitaciones. Mi casa no ha cambiado.'],
    ]) {
      await upload(fresh, name, text);
      await shows(fresh, 'status', said);
      assert.deepEqual((await homeShown(fresh, 4)).slice(0, 4), inPoint, name);
    }

    // Ten rooms with the longest names print with the result on one A4 page.
    await upload(fresh, 'diez.json', copyOf(Array.from({ length: 6 }, (_, at) => ({ ...room, nombre: `DORMITORIO ${at} DE MATRIMONIO CON BAÑO, VESTIDOR Y TERRAZA AL JARDÍN`.slice(0, 60) }))));
    await homeShown(fresh, 10);
    await answer(fresh, workedExample);
    assert.equal(await shownResult(fresh, '3049'), true);
    assert.match(await pdfInfo(await printed(fresh)), /^Pages: +1$/m);
  });

test('what the unit costs to run follows each box, compares two units, and goes with the link and Mi casa', async () => {
  const page = await open();
  await answer(page, workedExample);
  const reads = (id, text) => until(page, (id, text) => document.getElementById(id).textContent === text, id, text);
  const year = (hours, days, kWh, money) => `Usado ${hours} horas por día durante ${days} días al año, gasta como ` +
    `mucho ${kWh} kWh al año${money ? `: unos ${money} al precio que indicó.` : '.'}`;
  assert.equal(await reads('gasto-frase', year(8, 90, '8,72 kWh por día y 785')), true);
  // Each box, as it is typed; one out of its range says so beside it, and gives no figure. Each
  // costs the unit of the result on screen, not of an answer changed since and not calculated.
  await page.type(await box(page, question[5]), '9');
  for (const [name, text, sentence] of [
    ['Precio del kWh', '150', year(8, 90, '8,72 kWh por día y 785', 117720)],
    ['Horas de uso por día', '25', ''],
    ['Horas de uso por día', '4', year(4, 90, '4,36 kWh por día y 392', 58860)],
    ['Días de uso al año', '30', year(4, 30, '4,36 kWh por día y 131', 19620)],
    ['Potencia eléctrica (W)', '900', year(4, 30, '3,6 kWh por día y 108', 16200)],
  ]) {
    await page.type(await box(page, name), text);
    assert.equal(await reads('gasto-frase', sentence), true, `${name} ${text}`);
    assert.equal(await page.evaluate(() => document.querySelector('[aria-invalid=true]')?.id ?? ''), sentence ? '' : 'horas');
  }
  await page.click('#comparar summary');
  for (const [name, text] of [['Potencia eléctrica del otro (W)', '700'], ['Lo que cuesta este', '500'], ['Lo que cuesta el otro', '600']]) {
    await page.type(await box(page, name), text);
  }
  const compared = 'El otro gasta como mucho 84 kWh al año: 24 kWh menos, unos 3600 menos. Lo que el otro cuesta de más ' +
    'se recupera en menos de un año con lo que ahorra.';
  assert.equal(await reads('comparacion', compared), true);

  // The link carries it all to another page, and a reload keeps it.
  const link = await page.evaluate(() => document.getElementById('enlace-impreso').textContent);
  const opened = await open({ url: link });
  assert.equal(await until(opened, (text) =>
    document.getElementById('comparacion').textContent === text, compared), true);
  // A reload keeps the boxes and their figures.
  await opened.reload();
  assert.equal(await until(opened, (text) => document.getElementById('gasto-frase').textContent === text &&
    document.getElementById('precio').value === '150', year(4, 30, '3,6 kWh por día y 108', 16200)), true);
  // Printed with the result, on its one page.
  const pdf = await printed(opened);
  assert.match(await pdfInfo(pdf), /^Pages: +1$/m);
  assert.match((await poppler('pdftotext', pdf)).replace(/\s+/g, ' '), /gasta como mucho 3,6 kWh por día y 108 kWh al año: unos 16200 .*El otro gasta/);

  // Mi casa keeps each room's unit and the home's price.
  for (const [answers, name] of [[workedExample, 'Salón'], [areaExample(','), 'Dormitorio']]) {
    await answer(opened, answers);
    await opened.type(await box(opened, 'Nombre de la habitación'), name);
    await opened.click(await byRole(opened, 'button', 'Guardar en Mi casa'));
  }
  assert.equal(await until(opened, () => document.getElementById('energia-casa').textContent),
    'La casa gasta como mucho 216 kWh al año: unos 32400.');
  // A price it cannot read leaves the home's; with the last room goes the price.
  await opened.type(await box(opened, 'Precio del kWh'), 'abc');
  await opened.click(await byRole(opened, 'button', 'Guardar en Mi casa'));
  assert.equal(await until(opened, () => document.getElementById('energia-casa').textContent.endsWith('unos 32400.')), true);
  for (const name of ['Salón', 'Dormitorio']) await opened.click(await byRole(opened, 'button', `Borrar ${isolated(name)}`));
  assert.equal(await opened.evaluate(() => JSON.parse(localStorage.getItem('klimora.mi-casa')).precio), '');
  await opened.evaluate(() => localStorage.clear());
});
