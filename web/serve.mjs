// A static file server for the built site, on this machine only: `make
// serve` runs it, and the browser test starts it for each run.
//
//   node serve.mjs SITE_DIR [PORT]      (PORT 0 picks a free one)
//
// Files are sent gzip-compressed to a browser that accepts it, as most
// static hosts send them. Only files inside SITE_DIR are served.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
};

// Starts serving siteDir; resolves to the server once it listens.
export function serveSite(siteDir, port = 0, host = '127.0.0.1') {
  const root = resolve(siteDir);
  // Each file is compressed once, as a host that stores it compressed.
  const compressed = new Map();
  const server = createServer(async (request, response) => {
    let path;
    try {
      path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    } catch {
      path = '';
    }
    const file = normalize(join(root, path.endsWith('/') ? `${path}index.html` : path));
    if ((request.method !== 'GET' && request.method !== 'HEAD') || !file.startsWith(root + sep)) {
      response.writeHead(404).end();
      return;
    }
    let body;
    try {
      body = await readFile(file);
    } catch {
      response.writeHead(404, { 'content-type': 'text/plain' }).end('not found\n');
      return;
    }
    const headers = {
      'content-type': TYPES[extname(file)] ?? 'application/octet-stream',
      'cache-control': 'no-cache',
    };
    if (/\bgzip\b/.test(request.headers['accept-encoding'] ?? '')) {
      const known = compressed.get(file);
      if (!known || !known.plain.equals(body)) compressed.set(file, { plain: body, packed: gzipSync(body) });
      body = compressed.get(file).packed;
      headers['content-encoding'] = 'gzip';
    }
    headers['content-length'] = body.length;
    response.writeHead(200, headers);
    response.end(request.method === 'HEAD' ? undefined : body);
  });
  return new Promise((resolvePromise, reject) => {
    server.once('error', reject);
    server.listen(port, host, () => resolvePromise(server));
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const [siteDir, port = '8080'] = process.argv.slice(2);
  if (!siteDir) {
    console.error('usage: node serve.mjs SITE_DIR [PORT]');
    process.exit(2);
  }
  const server = await serveSite(siteDir, Number(port));
  console.log(`Serving ${resolve(siteDir)} at http://127.0.0.1:${server.address().port}/ (Ctrl+C ends)`);
}
