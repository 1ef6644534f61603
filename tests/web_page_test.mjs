// Klimora's web page as a person uses it, in one engine (KLIMORA_BROWSER:
// chromium, firefox or webkit), served by nginx with the page's own
// configuration: controls found by their role and name, answers typed, results
// read as a screen reader would find them.
//
//     node --test tests/web_page_test.mjs   (KLIMORA_SITE: the site folder; webkit needs X)
import assert from 'node:assert/strict';
import { cp, mkdtemp, readFile, readdir, rm, writeFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, before, test as nodeTest } from 'node:test';
import { byRole, launch, liveText } from '../scripts/browsers.mjs';
import { serveSite } from '../scripts/serve_site.mjs';

const site = process.env.KLIMORA_SITE ?? 'build/web/site';
const engine = process.env.KLIMORA_BROWSER ?? 'chromium';
const phone = { width: 360, height: 740 };
const question = {
  1: '¿Es la vivienda un ático o última planta?',
  2: 'Superficie total de puertas y ventanas al exterior:',
  3: 'Longitud de las paredes que dan al exterior:',
  4: '¿Es la habitación muy soleada?',
  5: '¿Cuantas personas suelen ocupar la habitación?',
  6: '¿Hay muchas luces, electrodomesticos...?',
};
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
const calcModule = /^klimora-calc\.\w+\.mjs$/;
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

async function shows(page, role, expected) {
  const wanted = expected.replace(/\s+/g, ' ');
  const deadline = Date.now() + 10000;
  let text = await liveText(page, role);
  while (text !== wanted && Date.now() < deadline) {
    await new Promise((resolve) => setTimeout(resolve, 50));
    text = await liveText(page, role);
  }
  assert.equal(text, wanted, role);
}

const box = (page, name) => byRole(page, 'textbox', name);
const calculate = async (page) => page.click(await byRole(page, 'button', 'Calcular'));
const state = (page, selector, property) => page.evaluate((selector, property) =>
  document.querySelector(selector)[property], selector, property);

async function answer(page, { choices = {}, texts = {} }) {
  for (const [number, choice] of Object.entries(choices)) {
    await page.click(await byRole(page, 'radio', choice, question[number]));
  }
  for (const [name, text] of Object.entries(texts)) await page.type(await box(page, name), text);
  await calculate(page);
}

const topFloorExample = {
  choices: { 1: 'Si', 4: 'Si', 6: 'Si' },
  texts: { Largo: '4', Ancho: '5', [question[2]]: '3', [question[3]]: '9', [question[5]]: '2' },
};
const areaExample = (separator) => ({
  choices: { 1: 'Si' }, texts: { Largo: `3${separator}3`, Ancho: `4${separator}1` },
});

test('the worked examples, with the separator of the browser\'s language, whatever it is',
  async () => {
    // "C" is what a bare system gives, and no language Intl knows.
    for (const [language, separator] of [['es-ES', ','], ['en-US', '.'], ['es-MX', '.'], ['C', ',']]) {
      for (const [answers, total, equivalents] of [
        [topFloorExample, '3049', `Equivale a 3${separator}55 kW o 12099 BTU/h`],
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
    await answer(page, topFloorExample);
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
      assert.equal(await state(page, '#largo', 'disabled'), !(await state(page, 'input[name=atico][value=si]', 'checked')));
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
    await answer(page, topFloorExample);
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
  });

test('axe finds nothing to fix, in the light or the dark', async () => {
  // Served beside the page: its policy runs no script from elsewhere.
  const withAxe = await changedSite((folder) =>
    cp(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), path.join(folder, 'axe.min.js')));
  for (const colorScheme of ['light', 'dark']) {
    const page = await open({ colorScheme, url: withAxe.server.url });
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

test('without WebAssembly, or without the module, the page says why, and never sends the answers',
  async () => {
    const noWasm = await changedSite(async (folder) => {
      await writeFile(path.join(folder, 'sin-wasm.js'), 'delete globalThis.WebAssembly;\n');
      await edit(path.join(folder, 'index.html'), (page) =>
        page.replace('<link rel="stylesheet"', '<script src="sin-wasm.js"></script>\n  <link rel="stylesheet"'));
    });
    const page = await open({ url: noWasm.server.url });
    await shows(page, 'alert', 'Este navegador no puede hacer el cálculo: necesita WebAssembly, y no lo tiene. Pruebe con un navegador actualizado.');

    // A press before any script of the page has run.
    const noScript = await changedSite((folder) => drop(folder, /^klimora\.\w+\.js$/));
    const early = await open({ url: noScript.server.url });
    await early.click('#calcular');
    await early.evaluate(() => new Promise((resolve) => setTimeout(resolve, 500)));
    assert.equal(new URL(await early.evaluate(() => location.href)).search, '', 'answers sent in the URL');

    // A first visit that loses the network before the module arrives.
    let module;
    const offline = await changedSite(async (folder) => { module = await drop(folder, calcModule); });
    const second = await open({ url: offline.server.url });
    await answer(second, { texts: { [question[5]]: '2' } });
    await shows(second, 'alert', 'No se ha podido descargar el cálculo: sin conexión. Vuelva a pulsar «Calcular» cuando tenga conexión.');
    assert.equal(new URL(await second.evaluate(() => location.href)).search, '', 'answers sent in the URL');
    await cp(path.join(site, module), path.join(offline.folder, module));
    await calculate(second);
    await shows(second, 'status', '300 frigorias/hora');
    await shows(second, 'alert', '');
  });

test('a trap inside the calculation is an unexpected error, and the next press calculates', async () => {
  const trapping = await changedSite(async (folder) => {
    await edit(path.join(folder, await named(folder, calcModule)), (glue) => {
      const trapping = glue.replace(/(var _klimora_calculate=[^;]*;)/,
        '$1Module._klimora_calculate=((real)=>function(){if(!globalThis.trapped){globalThis.trapped=true;' +
        'throw new WebAssembly.RuntimeError("unreachable")}return real.apply(null,arguments)})(Module._klimora_calculate);');
      assert.notEqual(trapping, glue);
      return trapping;
    });
  });
  const page = await open({ url: trapping.server.url });
  await answer(page, topFloorExample);
  await shows(page, 'alert', 'Error inesperado');
  await calculate(page);
  await shows(page, 'status', '3049 frigorias/hora');
});

test('after the first visit it calculates offline, and a new version replaces the old whole',
  async (t) => {
    // Version A, sent as many static hosts send it, with a lifetime.
    const hosted = await changedSite(async () => {}, { headers: { 'Cache-Control': 'max-age=600' } });
    const page = await open({ url: hosted.server.url });
    const workerReady = () => page.evaluate(async () => {
      await navigator.serviceWorker.ready;
      while (!navigator.serviceWorker.controller) await new Promise((resolve) => setTimeout(resolve, 50));
    });
    await workerReady();
    if (engine === 'chromium') {
      const cdp = await page.native.context().newCDPSession(page.native);
      assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    } else {
      t.diagnostic(`${engine} has no installability check to ask; its service worker is checked`);
    }
    const cachesNow = () => page.evaluate(async () => (await caches.keys()).sort());
    const [cacheA] = await cachesNow();

    // Version B: another page and worker, as the next build gives.
    await edit(path.join(hosted.folder, 'index.html'), (page) => page.replace('<title>Klimora', '<title>Klimora B'));
    await edit(path.join(hosted.folder, 'sw.js'), (worker) =>
      worker.replace(/(const cacheName = `\$\{cachePrefix\}[^`]*)`/, '$1-b`'));
    // A later visit looks for a new worker, and the page it then loads is B's.
    await page.evaluate(async () => {
      const registration = await navigator.serviceWorker.getRegistration();
      const changed = new Promise((resolve) => navigator.serviceWorker.addEventListener('controllerchange', resolve));
      await registration.update();
      await changed;
    });
    for (const network of ['online', 'offline']) {
      if (network === 'offline') await hosted.server.stop();
      await page.reload();
      await workerReady();
      assert.equal(await page.evaluate(() => document.title), 'Klimora B: frigorías por hora', network);
      await answer(page, topFloorExample);
      await shows(page, 'status', '3049 frigorias/hora');
      await shows(page, 'alert', '');
      const names = await cachesNow();
      assert.deepEqual([names.length, names.includes(cacheA), names[0].endsWith('-b')], [1, false, true]);
    }
  });
