// Loading the WebAssembly build of the toolchain in node, for the tests and
// the benchmark. Emscripten's loader takes the browser's way to the .wasm
// file (fetch) whenever node offers fetch, and fails there on a file path;
// given the file's bytes it fetches nothing, so node needs no
// --no-experimental-fetch (which playwright-core could not run without).
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

export const top = resolve(dirname(fileURLToPath(import.meta.url)), '../..');

// TARNEL_WASM_DIR names the folder of tarnel.js and tarnel.wasm; by default
// the one `make web` builds.
export const wasmDir = resolve(process.env.TARNEL_WASM_DIR ?? `${top}/build-web/wasm/web`);

// TARNEL_NATIVE_BIN names the native programs' folder; by default build/bin.
export const nativeBin = resolve(process.env.TARNEL_NATIVE_BIN ?? `${top}/build/bin`);

export async function loadToolchain() {
  const createTarnel = createRequire(import.meta.url)(`${wasmDir}/tarnel.js`);
  return createTarnel({ wasmBinary: readFileSync(`${wasmDir}/tarnel.wasm`) });
}

// Runs bytecode to its end in the module, in slices as the page runs it;
// null when it has not ended after maxSteps steps.
export function runBytecode(tarnel, bytecode, input, maxSteps = 200000000) {
  const run = new tarnel.BytecodeRun(bytecode, input);
  let output = '';
  try {
    while (run.advance(1000000)) {
      output += run.takeOutput();
      if (run.steps() >= maxSteps) return null;
    }
    return output + run.takeOutput();
  } finally {
    run.delete();
  }
}
