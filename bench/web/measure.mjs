// What Klimora's web page costs a phone, served by nginx as web/nginx.conf
// serves it: the bytes of a first visit, as sent (gzipped where the site keeps
// a gzipped copy); Lighthouse's mobile scores, on throttled CPU and network;
// and the time from a press of "Calcular" to the painted total.
//
//     (cd bench/web && npm ci) && node bench/web/measure.mjs [SITE_DIR]
import { readdir, stat } from 'node:fs/promises';
import path from 'node:path';
import * as chromeLauncher from 'chrome-launcher';
import lighthouse from 'lighthouse';
import { chromium } from 'playwright-core';
import { serveSite } from '../../scripts/serve_site.mjs';

const site = process.argv[2] ?? 'build/web/site';
const flags = ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const server = await serveSite(site);

// The service worker fetches every file of the site on the first visit.
let total = 0;
for (const entry of await readdir(site, { recursive: true, withFileTypes: true })) {
  if (!entry.isFile() || entry.name.endsWith('.gz')) continue;
  const file = path.join(entry.parentPath ?? entry.path, entry.name);
  const sent = await stat(`${file}.gz`).catch(() => stat(file));
  total += sent.size;
  console.log(`${(sent.size / 1024).toFixed(1).padStart(6)} KB  ${path.relative(site, file)}`);
}
console.log(`${(total / 1024).toFixed(1).padStart(6)} KB  as sent, a first visit in all (budget 50 KB)`);

const chrome = await chromeLauncher.launch({ chromePath: '/usr/lib/chromium/chromium', chromeFlags: flags });
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

// From the press, as the event stamps it, to the frame after the new total.
const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: flags.slice(1) });
const page = await browser.newPage({ locale: 'es-ES', viewport: { width: 360, height: 740 } });
await page.goto(server.url);
await page.evaluate(() => {
  window.pressTimes = [];
  const status = document.querySelector('[role=status]');
  document.addEventListener('click', (event) => {
    new MutationObserver((_, observer) => {
      observer.disconnect();
      requestAnimationFrame(() => setTimeout(() => pressTimes.push(performance.now() - event.timeStamp)));
    }).observe(status, { childList: true, characterData: true, subtree: true });
  }, { capture: true });
});
const occupants = page.getByRole('textbox', { name: '¿Cuantas personas suelen ocupar la habitación?' });
const presses = 50;
for (let i = 0; i < presses; ++i) {
  await occupants.fill(String(i));
  await page.getByRole('button', { name: 'Calcular' }).click();
  await page.waitForFunction((count) => window.pressTimes.length === count, i + 1);
}
const times = (await page.evaluate(() => pressTimes)).sort((a, b) => a - b);
console.log(`Press of "Calcular" to the painted total, ${presses} presses: ` +
  `median ${times[presses >> 1].toFixed(1)} ms, slowest ${times.at(-1).toFixed(1)} ms`);
await browser.close();
await server.close();
