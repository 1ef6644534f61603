// Klimora's web page in Debian's Chromium, used as a person does: controls
// found by their role and name, answers typed, results read as a screen
// reader would find them.
//
//     node --test tests/web_page_test.mjs   (KLIMORA_SITE: the site folder)
import assert from 'node:assert/strict';
import { readFile, mkdtemp, rm } from 'node:fs/promises';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { chromium } from 'playwright-core';
import { serve } from '../web/serve.mjs';

const site = process.env.KLIMORA_SITE ?? 'build/web/site';
const launch = {
  executablePath: '/usr/bin/chromium',
  // Quiet on a closed network; root needs no sandbox.
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
};
const question = {
  1: '¿Es la vivienda un ático o última planta?',
  2: 'Superficie total de puertas y ventanas al exterior:',
  3: 'Longitud de las paredes que dan al exterior:',
  4: '¿Es la habitación muy soleada?',
  5: '¿Cuantas personas suelen ocupar la habitación?',
  6: '¿Hay muchas luces, electrodomesticos...?',
};
let server;
let browser;

before(async () => {
  server = await serve(site);
  browser = await chromium.launch(launch);
});
after(async () => {
  await browser?.close();
  server?.close();
});

async function open(options = {}) {
  const page = await browser.newPage({ locale: 'es-ES', ...options });
  await page.goto(server.url);
  return page;
}

const box = (page, name) => page.getByRole('textbox', { name, exact: true });
const choose = (page, number, answer) => page.getByRole('group', { name: question[number] })
  .getByRole('radio', { name: answer, exact: true }).check();
const calculate = (page) => page.getByRole('button', { name: 'Calcular' }).click();

// Waits for the text the element ends up with.
async function shows(locator, expected) {
  const deadline = Date.now() + 5000;
  let text = await locator.innerText();
  while (text !== expected && Date.now() < deadline) {
    await new Promise((resolve) => setTimeout(resolve, 50));
    text = await locator.innerText();
  }
  assert.equal(text, expected);
}

async function answer(page, answers) {
  for (const [number, choice] of Object.entries(answers.choices ?? {})) {
    await choose(page, number, choice);
  }
  for (const [name, text] of Object.entries(answers.texts ?? {})) {
    await box(page, name).fill(text);
  }
  await calculate(page);
}

const topFloorExample = {
  choices: { 1: 'Si', 4: 'Si', 6: 'Si' },
  texts: { Largo: '4', Ancho: '5', [question[2]]: '3', [question[3]]: '9', [question[5]]: '2' },
};
const areaExample = (separator) => ({
  choices: { 1: 'Si' }, texts: { Largo: `3${separator}3`, Ancho: `4${separator}1` },
});

test('the worked examples, with the separator of the browser\'s language', async () => {
  for (const [locale, separator] of [['es-ES', ','], ['en-US', '.'], ['es-MX', '.']]) {
    for (const [answers, total, equivalents] of [
      [topFloorExample, '3049', `Equivale a 3${separator}55 kW o 12099 BTU/h`],
      [areaExample(separator), `338${separator}24999332428`, `Equivale a 0${separator}39 kW o 1342 BTU/h`],
    ]) {
      const page = await open({ locale });
      await answer(page, answers);
      await shows(page.getByRole('status'), `${total} frigorias/hora`);
      await shows(page.locator('#equivalencias'), equivalents);
      await page.close();
    }
  }
});

test('an error names its question, takes the focus there and keeps every answer', async () => {
  const page = await open();
  await answer(page, topFloorExample);
  for (const [name, text, message] of [
    [question[2], '3.5', 'Error 13: No coinciden los tipos\nRevise la respuesta a la pregunta [2].'],
    [question[3], '1e309', 'Error 6: Desbordamiento\nRevise la respuesta a la pregunta [3].'],
  ]) {
    await answer(page, { texts: { [name]: text } });
    await shows(page.getByRole('alert'), message);
    assert.equal(await box(page, name).evaluate((input) => input === document.activeElement), true);
    await box(page, name).fill('3');
  }
  await shows(page.getByRole('status'), '3049 frigorias/hora');
  await calculate(page);
  assert.equal(await page.getByRole('alert').count(), 1);
  await shows(page.getByRole('alert'), '');
  for (const [name, text] of Object.entries(topFloorExample.texts)) {
    assert.equal(await box(page, name).inputValue(), name === question[3] ? '3' : text);
  }
});

test('question [1] switches the length and width, which keep their text', async () => {
  const page = await open();
  assert.equal(await box(page, 'Largo').isDisabled(), true);
  await answer(page, { choices: { 1: 'Si' }, texts: { Largo: '4', Ancho: 'x' } });
  await choose(page, 1, 'No');
  assert.deepEqual([await box(page, 'Largo').isDisabled(), await box(page, 'Ancho').inputValue()],
    [true, 'x']);
  await calculate(page);
  await shows(page.getByRole('alert'),
    'Error 13: No coinciden los tipos\nRevise la respuesta a la pregunta [1].');
});

test('the separator can be switched, and the choice is remembered', async () => {
  const page = await open();
  await page.getByRole('radio', { name: 'Punto' }).check();
  await page.reload();
  assert.equal(await page.getByRole('radio', { name: 'Punto' }).isChecked(), true);
  await answer(page, { texts: { [question[2]]: '3.5' } });
  await shows(page.getByRole('status'), '910 frigorias/hora');
});

test('a megabyte pasted into a box is answered at once', async () => {
  const page = await open();
  await box(page, question[3]).fill(`${'0'.repeat(1 << 20)}7`);
  await calculate(page);
  await shows(page.getByRole('status'), '350 frigorias/hora');
});

test('at 360 pixels nothing scrolls sideways, and every control and text is large enough',
  async () => {
    const page = await open({ viewport: { width: 360, height: 740 } });
    await answer(page, topFloorExample);
    const small = await page.evaluate(() => [
      ...[...document.querySelectorAll('input, button')]
        .filter((control) => control.offsetWidth < 44 || control.offsetHeight < 44)
        .map((control) => control.id || control.name),
      ...[...document.querySelectorAll('body *')]
        .filter((element) => element.textContent.trim() && parseFloat(getComputedStyle(element).fontSize) < 16)
        .map((element) => element.tagName),
      ...(document.documentElement.scrollWidth > innerWidth ? ['page wider than the screen'] : []),
    ]);
    assert.deepEqual(small, []);
  });

test('axe finds nothing to fix, in the light or the dark', async () => {
  const axe = await readFile(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
  for (const colorScheme of ['light', 'dark']) {
    const page = await open({ colorScheme });
    await answer(page, { texts: { [question[5]]: 'dos' } });
    await page.addScriptTag({ content: axe });
    const violations = await page.evaluate(async () => (await axe.run()).violations
      .map((violation) => `${violation.id}: ${violation.nodes.map((node) => node.target).join(' ')}`));
    assert.deepEqual(violations, [], colorScheme);
  }
});

test('installable, and calculating offline after the first visit', async () => {
  const profile = await mkdtemp(path.join(tmpdir(), 'klimora-profile-'));
  const context = await chromium.launchPersistentContext(profile, { ...launch, locale: 'es-ES' });
  try {
    const page = await context.newPage();
    await page.goto(server.url);
    await page.evaluate(() => navigator.serviceWorker.ready);
    const cdp = await context.newCDPSession(page);
    assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    await context.setOffline(true);
    await page.reload();
    await answer(page, topFloorExample);
    await shows(page.getByRole('status'), '3049 frigorias/hora');
  } finally {
    await context.close();
    await rm(profile, { recursive: true, force: true });
  }
});
