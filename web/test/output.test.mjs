// The program's output on its way to the Output pane: whatever the program
// writes and stepping back takes back, in whatever pieces the worker
// reports, the pane holds the end of the output as it stands, and says when
// it left earlier output out.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { OutputRelay } from '../src/output_relay.js';
import { LEFT_OUT, OutputPane } from '../src/output_pane.js';

globalThis.requestAnimationFrame ??= () => 0;

function newPane(keptBytes) {
  const pane = new OutputPane({ textContent: '', scrollTop: 0, scrollHeight: 0 }, keptBytes);
  pane.clear('latin1');
  return pane;
}

// A small generator, so that a failure comes back with its seed.
function random(seed) {
  let state = seed >>> 0 || 1;
  return (below) => {
    state ^= state << 13;
    state ^= state >>> 17;
    state ^= state << 5;
    return (state >>> 0) % below;
  };
}

// Checks the pane against the whole output as it stands.
function holds(pane, output, where) {
  assert.equal(pane.start + pane.bytes.length, output.length, `${where}: the end`);
  assert.equal(pane.bytes, output.slice(pane.start), `${where}: the bytes`);
  if (!pane.leftOut) assert.equal(pane.start, 0, `${where}: nothing left out`);
  const shown = pane.text();
  assert.ok(shown.endsWith(pane.bytes.slice(-1000)), `${where}: the text shown`);
  assert.equal(shown.startsWith(LEFT_OUT), pane.leftOut, `${where}: the note`);
}

test('writes and cuts back in any order reach the pane as the output stands', () => {
  for (let seed = 1; seed <= 300; ++seed) {
    const next = random(seed);
    const relay = new OutputRelay(1 + next(60));
    const pane = newPane(1 + next(200));
    let output = '';
    // Where the session's output not yet taken begins: a cut back below
    // it cuts that output too, as the session's record does.
    let untaken = 0;
    for (let round = 0; round < 80; ++round) {
      if (next(2) === 0) {
        output += String.fromCharCode(97 + next(26)).repeat(next(40));
      } else {
        output = output.slice(0, next(output.length + 1));
        untaken = Math.min(untaken, output.length);
      }
      if (next(3) === 0) continue;
      relay.collect(output.slice(untaken), output.length);
      untaken = output.length;
      if (next(2) === 0) {
        const report = relay.take();
        if (report) pane.add(report);
        holds(pane, output, `seed ${seed}, round ${round}`);
      }
    }
  }
});

test('a step back inside what was left out cuts the pane to nothing but the note', () => {
  const relay = new OutputRelay(4);
  const pane = newPane(100);
  relay.collect('abcdef', 6);
  pane.add(relay.take());
  relay.collect('0123456789', 16);
  relay.collect('', 8);  // back inside the gap: the page keeps "abcdef"
  pane.add(relay.take());
  assert.equal(pane.text(), LEFT_OUT);
  relay.collect('xy', 10);
  pane.add(relay.take());
  assert.equal(pane.start + pane.bytes.length, 10);
  assert.equal(pane.text(), `${LEFT_OUT}xy`);
  relay.collect('', 3);  // back into what the page showed before the gap
  pane.add(relay.take());
  assert.equal(pane.text(), LEFT_OUT);
  assert.equal(pane.start, 3);
});
