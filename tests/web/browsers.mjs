// The three engines a phone's browser is built on, behind one small interface:
// Chromium through playwright-core (the DevTools protocol), Firefox through
// puppeteer-core (WebDriver BiDi) and WebKit through WebKitWebDriver (classic
// W3C WebDriver, spoken here with fetch). What the page's tests and its
// pictures need of a browser, and no more:
//
//     const browser = await launch('webkit', { language: 'es-ES', colorScheme: 'dark' });
//     const page = await browser.newPage({ width: 360, height: 740 });
//     await page.goto(url);
//     await page.type(await byRole(page, 'textbox', 'Largo'), '4');
//     await page.click(await byRole(page, 'button', 'Calcular'));
//     await liveText(page, 'status'); await page.evaluate((a, b) => a + b, 1, 2);
//     await page.screenshot('web.png'); await page.pdf();
//
// Debian's packages: chromium, firefox-esr, and webkit2gtk-driver, which needs
// an X display (Xvfb) and the language's locale generated.
import { spawn } from 'node:child_process';
import { createRequire } from 'node:module';
import { mkdir, mkdtemp, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { chromium } from 'playwright-core';
import esbuild from 'esbuild';
import puppeteer from 'puppeteer-core';
import { freePort } from './serve_site.mjs';

export const engines = ['chromium', 'firefox', 'webkit'];
export const chromiumPath = '/usr/bin/chromium';
// Quiet on a closed network; root needs no sandbox.
export const chromiumFlags = ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];

// A call of fn with args, as source text that every engine can run.
const call = (fn, args) => `(${fn})(...${JSON.stringify(args)})`;

// Playwright's and Puppeteer's pages take the same calls. newPage: another
// tab of the same browser.
function drive(engine, page, newPage) {
  return {
    engine,
    native: page,
    openTab: newPage,
    // As a person picks a file in the chooser that the input opens.
    upload: async (selector, file) => (engine === 'chromium' ? page.setInputFiles(selector, file)
      : (await page.$(selector)).uploadFile(file)),
    goto: (url) => page.goto(url),
    reload: () => page.reload(),
    // Puppeteer waits for a load that a page the back/forward cache keeps never sends.
    back: () => (engine === 'chromium' ? page.goBack() : page.evaluate('history.back()')),
    evaluate: (fn, ...args) => page.evaluate(call(fn, args)),
    click: (selector) => page.click(selector),
    // Selects what the box holds and types over it, as a person does.
    async type(selector, text) {
      await page.click(selector);
      await page.keyboard.down('Control');
      await page.keyboard.press('a');
      await page.keyboard.up('Control');
      await page.keyboard.press('Backspace');
      await page.keyboard.type(text);
    },
    screenshot: (path) => page.screenshot({ path }),
    // As printed on A4, at the browser's own margins.
    pdf: () => page.pdf({ format: 'A4', margin: Object.fromEntries(['top', 'right', 'bottom', 'left']
      .map((side) => [side, engine === 'chromium' ? '0.4in' : '0.5in'])) }),
    close: () => page.close(),
  };
}

// A profile of its own on disk, as a person's browser has: an incognito one
// can neither install the page nor keep it.
async function launchChromium({ language, colorScheme }) {
  const profile = await mkdtemp(path.join(tmpdir(), 'klimora-chromium-'));
  // A language Intl rejects ("C") cannot be emulated: the page is told it instead.
  const known = (() => {
    try {
      return Intl.getCanonicalLocales(language).length > 0;
    } catch {
      return false;
    }
  })();
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath, args: chromiumFlags,
    locale: known ? language : undefined,
    colorScheme,
  });
  if (!known) {
    await context.addInitScript(`Object.defineProperty(Navigator.prototype, 'language', { get: () => ${JSON.stringify(language)} })`);
  }
  return {
    async newPage(viewport) {
      const page = await context.newPage();
      await page.setViewportSize(viewport);
      return drive('chromium', page, () => this.newPage(viewport));
    },
    async close() {
      await context.close();
      await rm(profile, { recursive: true, force: true });
    },
  };
}

async function launchFirefox({ language, colorScheme }) {
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: '/usr/bin/firefox-esr',
    headless: true,
    extraPrefsFirefox: {
      'intl.accept_languages': language,
      'layout.css.prefers-color-scheme.content-override': colorScheme === 'dark' ? 0 : 1,
    },
  });
  return {
    async newPage(viewport) {
      const page = await browser.newPage();
      await page.setViewport(viewport);
      return drive('firefox', page, () => this.newPage(viewport));
    },
    close: () => browser.close(),
  };
}

// WebKitGTK's MiniBrowser takes its language from the locale it runs under,
// and its colours from the GTK theme. Its toolbar, shrunk to nothing by a GTK
// style sheet of its own, lets its window be as narrow as a phone.
async function launchWebKit({ language, colorScheme }) {
  const port = await freePort();
  const locale = `${language.replace('-', '_')}.UTF-8`;
  const config = await mkdtemp(path.join(tmpdir(), 'klimora-webkit-'));
  await mkdir(path.join(config, 'gtk-3.0'));
  await writeFile(path.join(config, 'gtk-3.0', 'gtk.css'),
    '* { min-width: 0; min-height: 0; padding: 0; margin: 0; font-size: 1px; }\n');
  const driver = spawn('WebKitWebDriver', [`--port=${port}`], {
    stdio: 'ignore',
    env: {
      ...process.env, LANG: locale, LC_ALL: locale, XDG_CONFIG_HOME: config,
      ...(colorScheme === 'dark' && { GTK_THEME: 'Adwaita:dark' }),
    },
  });
  const base = `http://127.0.0.1:${port}`;
  async function request(method, path, body) {
    const response = await fetch(base + path, {
      method, headers: { 'Content-Type': 'application/json' }, body: body && JSON.stringify(body),
    });
    const { value } = await response.json();
    if (!response.ok) throw new Error(`WebDriver ${method} ${path}: ${value.error}: ${value.message}`);
    return value;
  }
  for (const deadline = Date.now() + 10000; ;) {
    try {
      await request('GET', '/status');
      break;
    } catch (error) {
      if (Date.now() > deadline) throw error;
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
  }
  // The driver holds one session, a page, at a time: a new page ends the last.
  let sessionId = null;
  const endSession = async () => {
    if (sessionId) await request('DELETE', `/session/${sessionId}`).catch(() => {});
    sessionId = null;
  };
  return {
    async newPage(viewport) {
      await endSession();
      ({ sessionId } = await request('POST', '/session', {
        capabilities: { alwaysMatch: { 'webkitgtk:browserOptions': {
          binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'],
        } } },
      }));
      const session = (method, path, body) => request(method, `/session/${sessionId}${path}`, body);
      // Each page is a window of the one session: the driver talks to one at a time.
      let current = await session('GET', '/window');
      const inWindow = (handle) => async (method, path, body) => {
        if (current !== handle) await session('POST', '/window', { handle });
        current = handle;
        return session(method, path, body);
      };
      const windowPage = async (handle) => {
        const command = inWindow(handle);
        const element = async (selector) =>
          Object.values(await command('POST', '/element', { using: 'css selector', value: selector }))[0];
        const evaluate = async (fn, ...args) => {
          const script = `const done = arguments[0];
            Promise.resolve().then(() => ${call(fn, args)})
              .then((value) => done({ value }), (error) => done({ error: String(error) }));`;
          const reply = await command('POST', '/execute/async', { script, args: [] });
          if ('error' in reply) throw new Error(reply.error);
          return reply.value;
        };
        // The window holds the page and a frame around it: grown until the page
        // has the size asked for.
        const size = { ...viewport };
        for (let tries = 0; tries < 3; ++tries) {
          await command('POST', '/window/rect', size);
          const [width, height] = await evaluate(() => [innerWidth, innerHeight]);
          if (width === viewport.width && height === viewport.height) break;
          size.width += viewport.width - width;
          size.height += viewport.height - height;
        }
        return {
          engine: 'webkit',
          goto: (url) => command('POST', '/url', { url }),
          reload: () => command('POST', '/refresh', {}),
          back: () => command('POST', '/back', {}),
          evaluate,
          click: async (selector) => command('POST', `/element/${await element(selector)}/click`, {}),
          async type(selector, text) {
            const id = await element(selector);
            await command('POST', `/element/${id}/click`, {});
            // Control+A and Backspace, as the other engines type them, then the text.
            await command('POST', '/actions', { actions: [{ type: 'key', id: 'keyboard', actions: [
              { type: 'keyDown', value: '\uE009' }, { type: 'keyDown', value: 'a' }, { type: 'keyUp', value: 'a' },
              { type: 'keyUp', value: '\uE009' }, { type: 'keyDown', value: '\uE003' }, { type: 'keyUp', value: '\uE003' }] }] });
            if (text) await command('POST', `/element/${id}/value`, { text });
          },
          upload: async (selector, file) => command('POST', `/element/${await element(selector)}/value`, { text: file }),
          openTab: async () => windowPage((await command('POST', '/window/new', { type: 'tab' })).handle),
          screenshot: async (path) => writeFile(path, Buffer.from(await command('GET', '/screenshot'), 'base64')),
          pdf: async () => Buffer.from(await command('POST', '/print', { page: { width: 21, height: 29.7 } }), 'base64'),
          close: async () => {
            if (handle === first) return endSession();
            return command('DELETE', '/window');
          },
        };
      };
      const first = current;
      return windowPage(first);
    },
    async close() {
      await endSession();
      driver.kill();
      await rm(config, { recursive: true, force: true });
    },
  };
}

// options: language (a tag such as "es-ES", or "C"), colorScheme ("light" or "dark").
export function launch(engine, { language = 'es-ES', colorScheme = 'light' } = {}) {
  const launchers = { chromium: launchChromium, firefox: launchFirefox, webkit: launchWebKit };
  return launchers[engine]({ language, colorScheme });
}

// dom-accessibility-api, bundled for the pages: roles, accessible names and
// what is hidden from a screen reader, as the ARIA specifications define them.
const ariaBundle = esbuild.build({
  entryPoints: [createRequire(import.meta.url).resolve('dom-accessibility-api')],
  bundle: true, format: 'iife', globalName: 'klimoraAria', write: false,
}).then(({ outputFiles: [file] }) => `() => { ${file.text}; window.klimoraAria = klimoraAria; }`);

async function withAria(page) {
  if (!(await page.evaluate(() => 'klimoraAria' in window))) await page.evaluate(await ariaBundle);
}

// The one element a screen reader finds with the role (textbox, radio, button,
// group) whose accessible name is name, within the group whose name holds
// within: a selector for page.click and page.type.
export async function byRole(page, role, name, within = '') {
  await withAria(page);
  return page.evaluate((role, name, within) => {
    const { computeAccessibleName, getRole, isInaccessible } = window.klimoraAria;
    const all = (scope, wanted) => [...scope.querySelectorAll('*')]
      .filter((element) => getRole(element) === wanted && !isInaccessible(element));
    const scope = within ? all(document, 'group').find((group) => computeAccessibleName(group).includes(within)) : document;
    const found = all(scope, role).filter((element) => computeAccessibleName(element) === name);
    if (found.length !== 1) throw new Error(`${found.length} ${role}s named ${name}`);
    window.klimoraFound = (window.klimoraFound ?? 0) + 1;
    found[0].dataset.found = window.klimoraFound;
    return `[data-found="${window.klimoraFound}"]`;
  }, role, name, within);
}

// What a screen reader finds in the page's live regions of the role (status,
// alert), each blank or line break one space: engines break lines apart
// differently.
export async function liveText(page, role) {
  await withAria(page);
  return page.evaluate((role) => {
    const { getRole, isInaccessible } = window.klimoraAria;
    const read = (node) => (node.nodeType === Node.TEXT_NODE ? node.textContent
      : isInaccessible(node) ? '' : [...node.childNodes].map(read).join(''));
    return [...document.querySelectorAll('*')].filter((element) => getRole(element) === role)
      .map((element) => read(element).replace(/\s+/g, ' ').trim()).filter(Boolean).join(' ');
  }, role);
}
