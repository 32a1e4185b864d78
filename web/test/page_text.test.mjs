// The page's text handling: share links that come back as they went and
// refuse what they cannot hold, the byte columns of the checker turned
// into the editor's characters, the bytes of the checker's JSON strings,
// and a fixed text turned into the one change it makes.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fragmentFor, textFromFragment, MAX_SHARED_BYTES } from '../src/share.js';
import { changeBetween } from '../src/text_change.js';
import {
  ByteStringDecoder,
  bytesOfJsonString,
  charIndexOfByteColumn,
  decodeBytes,
  encodeText,
  encodingFor,
} from '../src/bytes.js';

test('a share link gives back the program it was made from', async () => {
  const program = 'kiv demo {\nvar {\nvar$ s := "grüße 😀"\n}\nbegin {\n    print s\n}\n}\n';
  const fragment = await fragmentFor(program);
  assert.match(fragment, /^code=[A-Za-z0-9_-]+$/);
  assert.equal(await textFromFragment(`#${fragment}`), program);
  assert.equal(await textFromFragment(fragment), program);
  assert.equal(await textFromFragment(await fragmentFor('')), '');
});

test('a share link that holds no program gives none', async () => {
  for (const fragment of ['', '#', '#top', '#code=', '#code=!!!', '#code=AAAA']) {
    assert.equal(await textFromFragment(fragment), null, fragment);
  }
  // A small link that would unpack to more than a program can be.
  const huge = await fragmentFor('x'.repeat(MAX_SHARED_BYTES + 1));
  assert.ok(huge.length < 20000);
  assert.equal(await textFromFragment(huge), null);
});

test('byte columns become character positions in UTF-8 and Latin-1', () => {
  const line = 'é😀x';  // bytes: 2, 4, 1
  assert.equal(charIndexOfByteColumn(line, 1, 'utf-8'), 0);
  assert.equal(charIndexOfByteColumn(line, 3, 'utf-8'), 1);
  assert.equal(charIndexOfByteColumn(line, 7, 'utf-8'), 3);
  assert.equal(charIndexOfByteColumn(line, 8, 'utf-8'), 4);
  assert.equal(charIndexOfByteColumn(line, 99, 'utf-8'), line.length);
  assert.equal(charIndexOfByteColumn('ab', 2, 'latin1'), 1);
  assert.equal(charIndexOfByteColumn('ab', 9, 'latin1'), 2);
});

test('a text keeps its encoding while it can, and decodes in pieces', () => {
  assert.equal(encodingFor('café', 'latin1'), 'latin1');
  assert.equal(encodingFor('café €', 'latin1'), 'utf-8');
  assert.equal(encodeText('é', 'latin1'), '\u00e9');
  assert.equal(encodeText('é', 'utf-8'), '\u00c3\u00a9');
  assert.equal(decodeBytes('\u00c3\u00a9', 'utf-8'), 'é');
  const decoder = new ByteStringDecoder('utf-8');
  assert.equal(decoder.decode('a\u00c3') + decoder.decode('\u00a9b'), 'aéb');
});

test("the checker's JSON strings give back the source's bytes", () => {
  for (const text of ['plain "x"', 'grüße 😀 €', '']) {
    assert.equal(bytesOfJsonString(text), encodeText(text, 'utf-8'), text);
  }
  // A byte that was no character in a Latin-1 file comes back as itself.
  assert.equal(bytesOfJsonString('caf\udce9 \udc80\udcff'), 'caf\u00e9 \u0080\u00ff');
  assert.equal(decodeBytes(bytesOfJsonString('caf\udce9'), 'latin1'), 'café');
  // A lone surrogate outside that range is no byte of ours: it stays a character.
  assert.equal(bytesOfJsonString('\udc00'), '\u00ed\u00b0\u0080');
});

test('a fixed text is one change between the common start and end', () => {
  const apply = (before, change) => before.slice(0, change.from) + change.insert + before.slice(change.to);
  const cases = [
    ['mov total, n\n', 'mov total,n\n', { from: 10, to: 11, insert: '' }],
    ['a;b', 'a ;b', { from: 1, to: 1, insert: ' ' }],
    ['same', 'same', { from: 4, to: 4, insert: '' }],
    ['aaa', 'aa', { from: 2, to: 3, insert: '' }],
    ['', 'x', { from: 0, to: 0, insert: 'x' }],
    // Two characters that share their first or last UTF-16 unit are
    // never cut in half.
    ['x😀y', 'x😁y', { from: 1, to: 3, insert: '😁' }],
    ['\ud83d\ude00', '\ud83c\ude00', { from: 0, to: 2, insert: '\ud83c\ude00' }],
  ];
  for (const [before, after, wanted] of cases) {
    const change = changeBetween(before, after);
    assert.deepEqual(change, wanted, `${before} -> ${after}`);
    assert.equal(apply(before, change), after);
  }
});
