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

// Runs a source program in the module as the page runs it: a debugging
// session with the whole input queued and ended, advanced in slices. Gives
// tarnel's console lines, the program's output (null when it has not ended
// after maxSteps steps), tarnel's closing line and the steps taken. record
// keeps a history to step back through, as a run with a breakpoint does.
export function runProgram(tarnel, source, input, { record = false, maxSteps = 200000000 } = {}) {
  const session = new tarnel.PageSession(source, record);
  try {
    const run = { assembled: session.assembled(), console: session.console(), closingLine: session.closingLine() };
    if (!run.assembled) return { ...run, output: '', steps: 0 };
    session.feedInput(input);
    session.endInput();
    session.runOn();
    let output = '';
    for (;;) {
      const reason = session.advance(1000000);
      output += session.takeOutput();
      if (reason === 'ended') return { ...run, output, steps: session.steps() };
      if (reason !== 'budget') throw new Error(`the run stopped: ${reason}`);
      if (session.steps() >= maxSteps) return { ...run, output: null, steps: session.steps() };
    }
  } finally {
    session.delete();
  }
}
