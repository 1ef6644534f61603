// Serves a site folder on localhost with Debian's nginx and the page's own
// configuration (web/nginx.conf): what the page's tests, its screenshots and
// its benchmark open. localhost counts as secure, so the service worker runs.
//
//     const server = await serveSite(folder); ... server.url ...
//     await server.stop(); await server.start();   (the same address again)
import { spawn } from 'node:child_process';
import { mkdir, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import path from 'node:path';

const configuration = new URL('../web/nginx.conf', import.meta.url);

// A port free at the moment, for the server to take.
export function freePort() {
  return new Promise((resolve, reject) => {
    const probe = createServer().once('error', reject).listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

async function answers(url) {
  try {
    await fetch(url, { method: 'HEAD' });
    return true;
  } catch {
    return false;
  }
}

// headers: replaces a response header's value in the configuration, as
// another host would send it ({ 'Cache-Control': 'max-age=600' }).
export async function serveSite(folder, { headers = {} } = {}) {
  const prefix = await mkdtemp(path.join(tmpdir(), 'klimora-nginx-'));
  await mkdir(path.join(prefix, 'temp'));
  const port = await freePort();
  const address = `127.0.0.1:${port}`;
  let text = (await readFile(configuration, 'utf8'))
    .replaceAll('{{root}}', path.resolve(folder)).replaceAll('{{listen}}', address);
  for (const [name, value] of Object.entries(headers)) {
    text = text.replace(new RegExp(`add_header ${name} .*;`), `add_header ${name} "${value}" always;`);
  }
  await writeFile(path.join(prefix, 'nginx.conf'), text);
  // Run as root, nginx would hand the requests to "nobody", who may not reach the folder.
  const global = `daemon off;${process.getuid?.() === 0 ? ' user root;' : ''}`;
  let nginx = null;
  const server = {
    url: `http://localhost:${port}/`,
    async start() {
      nginx = spawn('nginx', ['-p', prefix, '-c', 'nginx.conf', '-g', global],
        { stdio: ['ignore', 'ignore', 'inherit'] });
      const deadline = Date.now() + 10000;
      // Asked by its IPv4 address: Node 18's fetch tries only localhost's ::1.
      while (!(await answers(`http://${address}/`))) {
        if (nginx.exitCode !== null || Date.now() > deadline) throw new Error('nginx did not start');
        await new Promise((resolve) => setTimeout(resolve, 50));
      }
    },
    async stop() {
      if (!nginx || nginx.exitCode !== null) return;
      const ended = new Promise((resolve) => nginx.once('exit', resolve));
      nginx.kill('SIGQUIT');
      await ended;
    },
    async close() {
      await server.stop();
      await rm(prefix, { recursive: true, force: true });
    },
  };
  await server.start();
  return server;
}
