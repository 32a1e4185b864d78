// The page's toolchain against the console programs: every example and
// every end-to-end source goes through the WebAssembly build and through
// the native tarnel, tarnel_perl and tarnel_check, and everything they
// show and write must be the same, byte for byte:
// - tarnel's console (its error lines, the program's output for the
//   case's input, its closing line) and the bytecode file it writes; the
//   program runs as the page runs it, in a debugging session with the
//   case's input queued and ended;
// - tarnel_perl's console and the Perl script (perl itself is replaced by
//   a program that does nothing: the page shows the script, it runs none);
// - tarnel_check's report and its JSON document (--format=json);
// - the text with every safe fix made in the module, and the file
//   tarnel_check --fix leaves.
// A program that does not end (within 200,000,000 steps in the module) is
// compared without its run: its tarnel starts a kivinterp that does nothing.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import {
  chmodSync, existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, realpathSync, rmSync, symlinkSync,
  writeFileSync,
} from 'node:fs';
import { tmpdir } from 'node:os';
import { basename, join, relative } from 'node:path';
import { loadToolchain, nativeBin, runProgram, top } from './toolchain_module.mjs';

function sourcesUnder(folder) {
  const found = [];
  for (const entry of readdirSync(folder, { withFileTypes: true })) {
    const path = join(folder, entry.name);
    if (entry.isDirectory() && !entry.name.endsWith('.expect')) found.push(...sourcesUnder(path));
    else if (entry.name.endsWith('.tarnel')) found.push(path);
  }
  return found;
}

// Each program once: the examples are linked into tests/e2e/examples/,
// where their input lies beside them.
function allSources() {
  const byTarget = new Map();
  for (const path of [...sourcesUnder(join(top, 'tests/e2e')), ...sourcesUnder(join(top, 'examples'))]) {
    const target = realpathSync(path);
    if (!byTarget.has(target)) byTarget.set(target, path);
  }
  return [...byTarget.values()].sort();
}

const bytes = (byteString) => Buffer.from(byteString, 'latin1');
// Programs that end within so many steps run a second time recording every
// step, as a run with a breakpoint does, and must print the same.
const RECORDED_STEPS = 1000000;

let tarnel;
let work;
// Where tarnel starts a kivinterp that does nothing.
let quiet;

function doNothing(path) {
  writeFileSync(path, '#!/bin/sh\nexit 0\n');
  chmodSync(path, 0o755);
}

function linkNative(folder, programs) {
  for (const program of programs) {
    const path = join(nativeBin, program);
    if (!existsSync(path)) throw new Error(`${path} is missing: build the native programs first`);
    symlinkSync(path, join(folder, program));
  }
}

before(async () => {
  tarnel = await loadToolchain();
  work = mkdtempSync(join(tmpdir(), 'tarnel-equality-'));
  linkNative(work, ['tarnel', 'kivinterp', 'tarnel_perl', 'tarnel_check']);
  doNothing(join(work, 'perl'));
  quiet = join(work, 'quiet');
  mkdirSync(quiet);
  linkNative(quiet, ['tarnel']);
  doNothing(join(quiet, 'kivinterp'));
});
after(() => rmSync(work, { recursive: true, force: true }));

function native(program, args, input = '', folder = work) {
  const result = spawnSync(join(folder, program), args, {
    cwd: work,
    input,
    timeout: 60000,
    env: { ...process.env, PATH: `${work}:${process.env.PATH}` },
  });
  assert.equal(result.error, undefined, `${program} could not run: ${result.error}`);
  return result.stdout;
}

// Reads the file a translator wrote for an object and removes it.
function takeWritten(objectName, suffix, folder = work) {
  const path = Buffer.concat([Buffer.from(`${folder}/`), bytes(objectName), Buffer.from(suffix)]);
  if (!existsSync(path)) return null;
  const content = readFileSync(path);
  rmSync(path);
  return content;
}

for (const path of allSources()) {
  test(relative(top, path), () => {
    const source = readFileSync(path).toString('latin1');
    const inputPath = path.replace(/\.tarnel$/, '.in');
    const input = existsSync(inputPath) ? readFileSync(inputPath).toString('latin1') : '';
    const name = basename(path);
    writeFileSync(join(work, name), bytes(source));

    const assembled = tarnel.assemble(source);
    const run = runProgram(tarnel, source, input);
    assert.equal(run.assembled, assembled.written, 'the session assembles what tarnel writes');
    const folder = run.output === null ? quiet : work;
    const shown = run.console + (run.assembled ? (run.output ?? '') + run.closingLine : '');
    assert.deepEqual(native('tarnel', [name], bytes(input), folder), bytes(shown), "tarnel's console");
    if (run.output !== null && run.steps <= RECORDED_STEPS) {
      assert.equal(runProgram(tarnel, source, input, { record: true }).output, run.output, 'a recorded run');
    }
    const kiv = takeWritten(assembled.objectName, '.kiv', folder);
    assert.deepEqual(kiv, assembled.written ? bytes(assembled.fileText) : null, 'the bytecode file');

    const translated = tarnel.translate(source);
    assert.deepEqual(native('tarnel_perl', [name]), bytes(translated.console), "tarnel_perl's console");
    const script = takeWritten(translated.objectName, '.pl');
    assert.deepEqual(script, translated.written ? bytes(translated.fileText) : null, 'the Perl script');

    const report = native('tarnel_check', [name]);
    assert.deepEqual(report, bytes(tarnel.checkReport(name, source)), "tarnel_check's report");
    assert.deepEqual(native('tarnel_check', ['--format=json', name]), bytes(tarnel.checkJson(name, source)),
      "tarnel_check's JSON document");
    native('tarnel_check', ['--fix', name]);
    assert.deepEqual(readFileSync(join(work, name)), bytes(tarnel.fixAll(source)), 'the file with its safe fixes made');
    rmSync(join(work, name));
  });
}
