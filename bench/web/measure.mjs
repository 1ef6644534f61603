// What Klimora's web page costs a phone, served by nginx as web/nginx.conf
// serves it, in Chromium, Firefox and WebKit: every byte nginx sends (its
// log's body bytes, gzipped where the site keeps a gzipped copy) on a first
// visit, until the page works offline, and on a visit after it; the time from
// a press of "Calcular" to the painted total, and a change in "Lo que gasta"
// to its sentence; and Lighthouse's mobile scores,
// on throttled CPU and network, in Chromium. WebKit's WebDriver session keeps
// no HTTP cache, so its first visit is counted again with a profile on disk.
//
//     (cd bench/web && npm ci) && xvfb-run -a node bench/web/measure.mjs [SITE_DIR]
import { execFileSync } from 'node:child_process';
import * as chromeLauncher from 'chrome-launcher';
import lighthouse from 'lighthouse';
import { chromiumFlags, chromiumPath, engines, launch } from '../../tests/web/browsers.mjs';
import { answer, box, calculate, question, workedExample } from '../../tests/web/questionnaire.mjs';
import { serveSite } from '../../tests/web/serve_site.mjs';

const site = process.argv[2] ?? 'build/web/site';
const budget = 38 * 1024;
const presses = 50;
const server = await serveSite(site);
const kb = (bytes) => `${(bytes / 1024).toFixed(1)} KB`;

// What nginx sent since the last call, and any file whose body went twice.
async function sent(label) {
  const responses = await server.sent();
  const bytes = responses.reduce((sum, response) => sum + response.bytes, 0);
  const bodies = responses.filter((response) => response.bytes > 0).map((response) => response.uri);
  const twice = [...new Set(bodies.filter((uri, at) => bodies.indexOf(uri) !== at))];
  console.log(`  ${label}: ${responses.length} responses, ${kb(bytes)}` +
    (twice.length ? `; sent twice: ${twice.join(' ')}` : ''));
  return bytes;
}

// From each event of the kind on the element from, as the event stamps it, to
// the frame after the watched element changes; act(i) causes the i-th, or more.
async function toPaint(page, { kind, from, watched }, act) {
  await page.evaluate(({ kind, from, watched }) => {
    window.paintTimes = [];
    document.getElementById(from).addEventListener(kind, (event) => {
      new MutationObserver((_, observer) => {
        observer.disconnect();
        requestAnimationFrame(() => setTimeout(() => window.paintTimes.push(performance.now() - event.timeStamp)));
      }).observe(document.getElementById(watched), { childList: true, characterData: true, subtree: true });
    }, { capture: true });
  }, { kind, from, watched });
  for (let i = 0; i < presses; ++i) {
    const before = await page.evaluate(() => window.paintTimes.length);
    await act(i);
    while (await page.evaluate(() => window.paintTimes.length) <= before) {
      await new Promise((resolve) => setTimeout(resolve, 10));
    }
  }
  const times = (await page.evaluate(() => window.paintTimes)).sort((a, b) => a - b);
  return `median ${times[times.length >> 1].toFixed(1)} ms, slowest ${times.at(-1).toFixed(1)} ms`;
}

async function pressToPaint(page) {
  const occupants = await box(page, question[5]);
  return toPaint(page, { kind: 'click', from: 'calcular', watched: 'resultado' }, async (i) => {
    await page.type(occupants, String(i));
    await calculate(page);
  });
}

// Each hours typed into "Horas de uso por día", which it empties first (and
// so back to 8): each change paints another sentence, of the worked example's
// unit (the presses above leave a room no unit covers).
async function changeToPaint(page) {
  await answer(page, workedExample);
  const hours = await box(page, 'Horas de uso por día');
  return toPaint(page, { kind: 'input', from: 'horas', watched: 'gasto-frase' }, (i) => page.type(hours, String(1 + i % 7)));
}

let overBudget = false;
try {
  await server.sent(); // nginx's own start-up probe
  for (const engine of engines) {
    console.log(engine);
    const browser = await launch(engine);
    try {
      const page = await browser.newPage({ width: 360, height: 740 });
      await page.goto(server.url);
      await page.evaluate(async () => {
        await navigator.serviceWorker.ready;
        while (!navigator.serviceWorker.controller) await new Promise((resolve) => setTimeout(resolve, 50));
      });
      const cached = engine !== 'webkit';
      const bytes = await sent(`first visit, until it works offline${cached ? ' (budget 38 KB)' : ', no HTTP cache'}`);
      overBudget ||= cached && bytes > budget;
      await page.reload();
      await answer(page, workedExample);
      await sent('a visit after it');
      console.log(`  press of "Calcular" to the painted total, ${presses} presses: ${await pressToPaint(page)}`);
      console.log(`  a change in "Lo que gasta" to its painted sentence, ${presses} times: ${await changeToPaint(page)}`);
    } finally {
      await browser.close();
    }
  }
  console.log('webkit with a profile on disk');
  execFileSync(new URL('webkit_first_visit.py', import.meta.url).pathname, [server.url], { stdio: 'inherit' });
  overBudget ||= await sent('first visit, until it works offline (budget 38 KB)') > budget;

  const chrome = await chromeLauncher.launch({ chromePath: chromiumPath, chromeFlags: ['--headless=new', ...chromiumFlags] });
  try {
    const { lhr } = await lighthouse(server.url, { port: chrome.port, logLevel: 'error',
      onlyCategories: ['performance', 'accessibility', 'best-practices'] });
    for (const category of Object.values(lhr.categories)) {
      console.log(`Lighthouse ${category.title}: ${Math.round(category.score * 100)}`);
    }
    for (const audit of Object.values(lhr.audits)) {
      if (audit.score !== null && audit.score < 1 && audit.scoreDisplayMode === 'binary') {
        console.log(`  failed: ${audit.id}: ${audit.title}`);
      }
    }
    const metric = (id) => lhr.audits[id].displayValue;
    console.log(`  first contentful paint ${metric('first-contentful-paint')}, ` +
      `largest ${metric('largest-contentful-paint')}, blocking ${metric('total-blocking-time')}`);
  } finally {
    await chrome.kill();
  }
} finally {
  await server.close();
}
if (overBudget) console.log('A first visit is over its budget.');
