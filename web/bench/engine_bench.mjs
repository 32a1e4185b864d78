// The engine in the page's WebAssembly build against native kivinterp, side
// by side in one run, on the benchmark programs of bench/programs/: each
// program runs to its end in node as the page's Run runs it (a debugging
// session without breakpoints, in slices), and its bytecode (from the
// module's assembler, which the equality test holds to tarnel's) as a
// kivinterp process. Prints the median wall times of several runs, their
// ratio and the targets; then, for comparison, the same runs recording
// every step to step back through, as a run started with Step or with a
// breakpoint set does.
//
//   node web/bench/engine_bench.mjs [runs]     (default 5; BENCH_RUNS too)
//
// TARNEL_NATIVE_BIN names the folder of a release kivinterp (make web-bench
// builds one in build-bench/).
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { performance } from 'node:perf_hooks';
import { loadToolchain, nativeBin, top } from '../test/toolchain_module.mjs';

const runs = Number(process.argv[2] ?? process.env.BENCH_RUNS ?? 5);
const programs = [
  { name: 'integer_loop', target: 2.5 },
  { name: 'float_loop', target: 3.0 },
];

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// The page's run: the debugging core's session in slices; record keeps a
// history to step back through.
function moduleRun(tarnel, source, record) {
  const started = performance.now();
  const session = new tarnel.PageSession(source, record);
  session.endInput();
  session.runOn();
  let output = '';
  while (session.advance(1 << 20) === 'budget') output += session.takeOutput();
  output += session.takeOutput();
  session.delete();
  return { seconds: (performance.now() - started) / 1000, output };
}

function nativeRun(kivFile, folder) {
  const started = performance.now();
  const result = spawnSync(join(nativeBin, 'kivinterp'), [kivFile], { cwd: folder, input: '' });
  if (result.status !== 0) throw new Error(`kivinterp ${kivFile} failed: ${result.stderr}`);
  return { seconds: (performance.now() - started) / 1000, output: result.stdout.toString('latin1') };
}

const loadStarted = performance.now();
const tarnel = await loadToolchain();
const loadSeconds = (performance.now() - loadStarted) / 1000;
const folder = mkdtempSync(join(tmpdir(), 'tarnel-web-bench-'));
console.log(`median of ${runs} runs, wall time in seconds, side by side; module loaded in ${loadSeconds.toFixed(3)} s\n`);
console.log(`${'program'.padEnd(14)} ${'kivinterp'.padStart(10)} ${'page Run'.padStart(10)} ${'ratio'.padStart(7)} ${'target'.padStart(8)} ${'recorded'.padStart(10)} ${'ratio'.padStart(7)}`);
let allMet = true;
try {
  for (const program of programs) {
    const source = readFileSync(join(top, 'bench/programs', `${program.name}.tarnel`)).toString('latin1');
    const assembled = tarnel.assemble(source);
    if (!assembled.written) throw new Error(`${program.name}: ${assembled.console}`);
    const kivFile = join(folder, `${program.name}.kiv`);
    writeFileSync(kivFile, Buffer.from(assembled.fileText, 'latin1'));
    const native = [];
    const web = [];
    const recorded = [];
    for (let run = 0; run < runs; ++run) {
      const nativeResult = nativeRun(kivFile, folder);
      const webResult = moduleRun(tarnel, source, false);
      const recordedResult = moduleRun(tarnel, source, true);
      if (nativeResult.output !== webResult.output || nativeResult.output !== recordedResult.output) {
        throw new Error(`${program.name}: the outputs differ`);
      }
      native.push(nativeResult.seconds);
      web.push(webResult.seconds);
      recorded.push(recordedResult.seconds);
    }
    const ratio = median(web) / median(native);
    const met = ratio <= program.target;
    allMet &&= met;
    console.log(`${program.name.padEnd(14)} ${median(native).toFixed(3).padStart(10)} ${median(web).toFixed(3).padStart(10)} ${ratio.toFixed(2).padStart(7)} ${`<= ${program.target}`.padStart(8)} ${median(recorded).toFixed(3).padStart(10)} ${(median(recorded) / median(native)).toFixed(2).padStart(7)}${met ? '' : '  NOT MET'}`);
  }
} finally {
  rmSync(folder, { recursive: true, force: true });
}
console.log(allMet ? '\nevery target met' : '\nsome target not met');
