// Serves a site folder on localhost with Debian's nginx and the page's own
// configuration, web/nginx.conf, as a publisher copies it: wrapped in an http
// block of the tests' own (pid, temp paths, logs), on plain http to a port of
// their own. localhost counts as secure, so the service worker runs. What the
// page's tests, its pictures and its benchmark open.
//
//     const server = await serveSite(folder); ... server.url ... await server.sent()
//     await server.stop(); await server.start();   (the same address again)
import { spawn } from 'node:child_process';
import { mkdir, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import path from 'node:path';

const configuration = new URL('../../web/nginx.conf', import.meta.url);

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

// The publisher's server block, on plain http to address, serving folder.
async function publishersServer(folder, address, headers, busy) {
  let text = (await readFile(configuration, 'utf8'))
    .replace(/^\s*ssl_.*\n/gm, '').replace(/^\s*listen .*\n/gm, '')
    .replace(/^(\s*)root .*;/m, `$1listen ${address};\n$1root ${path.resolve(folder)};`);
  for (const [name, value] of Object.entries(headers)) {
    text = text.replace(new RegExp(`add_header ${name} .*;`), `add_header ${name} "${value}" always;`);
  }
  return busy ? text.replace(/}\s*$/, `location ~ ${busy} { return 503; }\n}\n`) : text;
}

// headers: replaces a response header's value in the configuration, as
// another host would send it ({ 'Cache-Control': 'max-age=600' }); busy: the
// paths, as a regular expression, that a busy server answers with 503.
export async function serveSite(folder, { headers = {}, busy = '' } = {}) {
  const prefix = await mkdtemp(path.join(tmpdir(), 'klimora-nginx-'));
  await mkdir(path.join(prefix, 'temp'));
  const port = await freePort();
  const address = `127.0.0.1:${port}`;
  await writeFile(path.join(prefix, 'klimora.conf'), await publishersServer(folder, address, headers, busy));
  const temp = ['client_body', 'proxy', 'fastcgi', 'uwsgi', 'scgi']
    .map((kind) => `${kind}_temp_path temp/${kind};`).join(' ');
  await writeFile(path.join(prefix, 'nginx.conf'), `pid nginx.pid; error_log stderr error;
    worker_processes 1; events { worker_connections 64; }
    http { log_format sent '$status $body_bytes_sent $request_uri'; access_log sent.log sent;
      ${temp} include klimora.conf; }\n`);
  // Run as root, nginx would hand the requests to "nobody", who may not reach the folder.
  const global = `daemon off;${process.getuid?.() === 0 ? ' user root;' : ''}`;
  let nginx = null;
  let logged = 0;
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
    // What nginx has sent since the last call: [{ status, bytes, uri }], body bytes.
    async sent() {
      const log = await readFile(path.join(prefix, 'sent.log'), 'utf8').catch(() => '');
      const lines = log.split('\n').filter(Boolean).slice(logged);
      logged += lines.length;
      return lines.map((line) => {
        const [status, bytes, uri] = line.split(' ');
        return { status: Number(status), bytes: Number(bytes), uri };
      });
    },
    async close() {
      await server.stop();
      await rm(prefix, { recursive: true, force: true });
    },
  };
  await server.start();
  return server;
}
