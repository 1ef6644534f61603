// Serves a folder on localhost, where a service worker may run without HTTPS:
// the page's tests and its benchmark open the site through it.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import path from 'node:path';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.css': 'text/css', '.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json',
  '.svg': 'image/svg+xml', '.png': 'image/png',
};

export function serve(folder) {
  const root = path.resolve(folder);
  const server = createServer(async (request, response) => {
    const wanted = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = path.join(root, wanted.endsWith('/') ? `${wanted}index.html` : wanted);
    try {
      if (!file.startsWith(root)) throw new Error('outside the site');
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] ?? 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      server.url = `http://localhost:${server.address().port}/`;
      resolve(server);
    });
  });
}
