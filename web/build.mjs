// Builds the static site: the page's JavaScript and CSS bundled by esbuild,
// the worker, index.html and the toolchain's module, into one folder that
// any static web server can serve as it is.
//
//   node build.mjs WASM_DIR SITE_DIR
//
// WASM_DIR holds tarnel.js and tarnel.wasm from the WebAssembly build.
// The examples and the mnemonics come from the repository at build time,
// so the page never fetches anything but its own files.
import { build } from 'esbuild';
import { copyFile, mkdir, readdir, readFile, rm, stat } from 'node:fs/promises';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

const here = dirname(fileURLToPath(import.meta.url));
const top = resolve(here, '..');
const [wasmDir, siteDir] = process.argv.slice(2).map((path) => resolve(path));
if (!wasmDir || !siteDir) {
  console.error('usage: node build.mjs WASM_DIR SITE_DIR');
  process.exit(2);
}

// The mnemonics, read from the one table the front end, the back ends and
// the desktop editor share.
async function mnemonics() {
  const table = await readFile(join(top, 'frontend/mnemonics.h'), 'utf8');
  const names = [...table.matchAll(/^\s*X\("([a-z]+)",/gm)].map((match) => match[1]);
  if (names.length !== 23) throw new Error(`frontend/mnemonics.h: found ${names.length} mnemonics, not 23`);
  return names;
}

async function examples() {
  const folder = join(top, 'examples');
  const names = (await readdir(folder)).filter((name) => name.endsWith('.tarnel')).sort();
  return Promise.all(
    names.map(async (name) => ({ name, text: await readFile(join(folder, name), 'utf8') })),
  );
}

// Modules made at build time: "tarnel:mnemonics" and "tarnel:examples".
function generated(modules) {
  return {
    name: 'tarnel-generated',
    setup(builder) {
      builder.onResolve({ filter: /^tarnel:/ }, (args) => ({ path: args.path, namespace: 'tarnel' }));
      builder.onLoad({ filter: /.*/, namespace: 'tarnel' }, (args) => ({
        contents: `export default ${JSON.stringify(modules[args.path])};`,
        loader: 'js',
      }));
    },
  };
}

await rm(siteDir, { recursive: true, force: true });
await mkdir(siteDir, { recursive: true });
const common = {
  bundle: true,
  minify: true,
  format: 'iife',
  target: ['es2020'],
  legalComments: 'none',
  logLevel: 'warning',
};
await build({
  ...common,
  entryPoints: { app: join(here, 'src/main.js') },
  outdir: siteDir,
  plugins: [generated({ 'tarnel:mnemonics': await mnemonics(), 'tarnel:examples': await examples() })],
});
await build({ ...common, entryPoints: { app: join(here, 'src/style.css') }, outdir: siteDir });
await build({ ...common, entryPoints: { worker: join(here, 'src/worker.js') }, outdir: siteDir });
await copyFile(join(here, 'src/index.html'), join(siteDir, 'index.html'));
for (const name of ['tarnel.js', 'tarnel.wasm']) await copyFile(join(wasmDir, name), join(siteDir, name));

let total = 0;
let packed = 0;
for (const name of (await readdir(siteDir)).sort()) {
  const bytes = await readFile(join(siteDir, name));
  const size = gzipSync(bytes, { level: 9 }).length;
  total += (await stat(join(siteDir, name))).size;
  packed += size;
  console.log(`  ${name.padEnd(12)} ${String(bytes.length).padStart(9)} bytes, ${String(size).padStart(8)} gzipped`);
}
console.log(`  ${'all'.padEnd(12)} ${String(total).padStart(9)} bytes, ${String(packed).padStart(8)} gzipped`);
