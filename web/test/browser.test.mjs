// The page in a real browser, used as a learner uses it: Debian's Chromium
// driven by playwright-core, the built site served from this machine. It
// types a program, reads the checker's mark, makes its quick fix by the
// keyboard and by the mouse and takes it back, runs it with input, steps
// through it with a breakpoint and back again, moves through the tabs with
// the keyboard, loads an example, opens a file and downloads it again,
// pauses an endless loop, opens a share link, and checks the page with
// axe-core at a desktop and a phone's width.
// Screenshots land in TARNEL_ARTIFACTS (default build-web/artifacts/). How
// fast the page gets ready and answers Pause, web/bench/page_bench.mjs
// measures.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { serveSite } from '../serve.mjs';
import { startChromium } from './chromium.mjs';
import { loadToolchain, top } from './toolchain_module.mjs';

const siteDir = resolve(process.env.TARNEL_SITE_DIR ?? `${top}/build-web/site`);
const artifacts = resolve(process.env.TARNEL_ARTIFACTS ?? `${top}/build-web/artifacts`);
const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

// A program as a learner types it, with a blank after a comma.
const PROGRAM = `kiv demo {
var {
var& n
var& total
}
begin {
    input n
    mov total, n
    add total,n
    print total
}
}
`;
// A program to step through: it reads, pushes and pops.
const STEPPED = `kiv demo {
var {
var& n
var& total
}
begin {
    input n
    mov total, n
    add total,n
    push total
    print total
    pop n
}
}
`;
// An endless loop that prints as fast as it can.
const ENDLESS =
  'kiv forever {\nvar {\nvar& n\n}\nbegin {\ntop:\n    inc n\n    print n\n    print "\\n"\n    jmp top\n}\n}\n';

let server;
let browser;
let context;
let origin;
let tarnel;

// The diagnostics the module's checker gives for a text (a JavaScript
// string, saved as UTF-8).
function diagnosticsOf(text) {
  const json = tarnel.checkJson('program.tarnel', Buffer.from(text, 'utf8').toString('latin1'));
  return JSON.parse(Buffer.from(json, 'latin1').toString('utf8')).files[0].diagnostics;
}

before(async () => {
  if (!existsSync(join(siteDir, 'index.html'))) throw new Error(`${siteDir}: build the site first (make web)`);
  tarnel = await loadToolchain();
  mkdirSync(artifacts, { recursive: true });
  server = await serveSite(siteDir, 0);
  origin = `http://127.0.0.1:${server.address().port}/`;
  browser = await startChromium();
  context = browser.context;
});

after(async () => {
  await browser?.close();
  server?.close();
});

async function openPage(url = origin) {
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.errors = errors;
  await page.goto(url);
  await page.waitForFunction(() => document.querySelector('#status').textContent.startsWith('Ready'));
  return page;
}

const editorText = (page) => page.evaluate(() => {
  const lines = [...document.querySelectorAll('.cm-content .cm-line')].map((line) => line.textContent);
  return `${lines.join('\n')}`;
});

async function typeProgram(page, text) {
  await page.click('.cm-content');
  await page.keyboard.press('Control+A');
  await page.keyboard.press('Delete');
  await page.keyboard.insertText(text);
}

const waitForStatus = (page, pattern) => page.waitForFunction(
  (source) => new RegExp(source).test(document.querySelector('#status').textContent), pattern.source);

// The Variables view as {name: [type, value, changed]}.
const variablesShown = (page) => page.$$eval('#view-variables tbody tr', (rows) => Object.fromEntries(
  rows.map((row) => [row.cells[0].textContent,
    [row.cells[1].textContent, row.cells[2].textContent.replace(/^changed: /, ''), row.classList.contains('changed')]])));

const stackShown = (page) => page.$$eval('#view-stack li', (items) => items.map((item) => item.firstChild.textContent));

const nextLine = (page) => page.evaluate(() => {
  const lines = [...document.querySelectorAll('.cm-content .cm-line')];
  return lines.findIndex((line) => line.classList.contains('cm-next-line')) + 1;
});

// Clicks the breakpoint gutter beside line.
async function clickGutter(page, line) {
  const number = await page.locator('.cm-lineNumbers .cm-gutterElement', { hasText: new RegExp(`^${line}$`) }).boundingBox();
  const gutter = await page.locator('.cm-breakpoint-gutter').boundingBox();
  await page.mouse.click(gutter.x + gutter.width / 2, number.y + number.height / 2);
}

async function runAndWait(page) {
  await page.click('#run');
  await page.waitForFunction(() => /ended|stops|Stopped/.test(document.querySelector('#status').textContent));
  return page.textContent('#output');
}

async function seriousViolations(page) {
  await page.addScriptTag({ content: axeSource });
  const result = await page.evaluate(() => window.axe.run(document));
  return result.violations
    .filter((violation) => violation.impact === 'serious' || violation.impact === 'critical')
    .map((violation) => `${violation.id}: ${violation.nodes.map((node) => node.target.join(' ')).join(', ')}`);
}

test('the page loads from its own server alone, in at most 1.5 MB compressed', async () => {
  const page = await context.newPage();
  const requests = [];
  page.on('request', (request) => requests.push(request.url()));
  let transferred = 0;
  page.on('response', async (response) => {
    transferred += Number((await response.allHeaders())['content-length'] ?? 0);
  });
  await page.goto(origin);
  await page.waitForFunction(() => document.querySelector('#status').textContent.startsWith('Ready'));
  assert.deepEqual(requests.filter((url) => !url.startsWith(origin)), []);
  console.log(`${requests.length} files, ${transferred} bytes transferred`);
  assert.ok(transferred > 0 && transferred <= 1.5 * 1024 * 1024, `${transferred} bytes`);
  await page.close();
});

test('a typed program gets its mark, runs with input and shows its files', async () => {
  const page = await openPage();
  await typeProgram(page, PROGRAM);
  assert.equal(await editorText(page), PROGRAM.replace(/\n$/, '\n'));

  // The mark under the blank after the comma, with the checker's words
  // and its fix-it as a quick fix.
  const wanted = diagnosticsOf(PROGRAM);
  assert.deepEqual(wanted.map((found) => [found.line, found.fixes.map((fix) => fix.description)]),
    [[8, ['remove the blank after the comma']]]);
  await page.waitForSelector('.cm-lintRange');
  await page.keyboard.press('Control+Shift+M');
  await page.waitForSelector('.cm-panel.cm-panel-lint li');
  const listed = await page.$$eval('.cm-panel.cm-panel-lint li', (items) => items.map((item) => item.textContent));
  for (const found of wanted) {
    assert.ok(listed.some((text) => text.includes(found.message)), `the lint panel lists: ${found.message}`);
  }
  assert.deepEqual(await page.$$eval('.cm-panel.cm-panel-lint li button', (buttons) =>
    buttons.map((button) => button.textContent)), ['Fix: remove the blank after the comma']);

  // The quick fix by the keyboard: the panel's item, then the fix's letter.
  const FIXED = PROGRAM.replace('mov total, n', 'mov total,n');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('f');
  await page.waitForFunction(() => document.querySelector('#status').textContent.startsWith('Fixed'));
  assert.equal(await editorText(page), FIXED);
  await page.waitForFunction(() => document.querySelectorAll('.cm-lintRange').length === 0);
  // One undo takes it back, with its mark; redo makes it again.
  await page.click('.cm-content');
  await page.keyboard.press('Control+z');
  assert.equal(await editorText(page), PROGRAM);
  await page.waitForSelector('.cm-lintRange');
  await page.keyboard.press('Control+y');
  assert.equal(await editorText(page), FIXED);
  await page.keyboard.press('Control+z');
  // The same fix from the mark's tooltip, by the mouse.
  await page.waitForSelector('.cm-lintRange');
  await page.hover('.cm-lintRange');
  await page.waitForSelector('.cm-tooltip-lint button');
  await page.screenshot({ path: join(artifacts, 'quick-fix.png') });
  await page.click('.cm-tooltip-lint button');
  await page.waitForFunction((fixed) => [...document.querySelectorAll('.cm-content .cm-line')]
    .map((line) => line.textContent).join('\n') === fixed, FIXED);
  await page.waitForFunction(() => document.querySelectorAll('.cm-lintRange').length === 0);

  await page.fill('#input', '21\n');
  assert.equal(await runAndWait(page), '42');
  assert.match(await page.textContent('#status'), /ended after 4 steps/);
  // F5 runs again from anywhere; the input line sent comes back with the
  // arrow key; the tabs answer the arrow keys.
  await page.click('.cm-content');
  await page.keyboard.press('F5');
  await waitForStatus(page, /waiting for input/);
  await page.keyboard.press('ArrowUp');
  assert.equal(await page.inputValue('#input'), '21');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.querySelector('#output').textContent === '42');
  await page.focus('#tab-source');
  await page.keyboard.press('ArrowRight');
  const assembled = tarnel.assemble(FIXED);
  await page.waitForFunction(() => document.querySelector('#panel-bytecode .file-title').textContent === 'demo.kiv');
  assert.equal(await page.textContent('#panel-bytecode .file-text'), assembled.fileText);
  await page.keyboard.press('ArrowRight');
  await page.waitForFunction(() => document.querySelector('#panel-perl .file-text').textContent !== '');
  assert.equal(await page.textContent('#panel-perl .file-text'),
    tarnel.translate(FIXED).fileText);
  assert.equal(await page.isHidden('#panel-source'), true);
  await page.keyboard.press('Home');
  assert.equal(await page.isVisible('#panel-source'), true);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test("a mark's message quotes the program's own letters", async () => {
  const program = 'kiv grüße {\nvar {\nvar& zähler\n}\nbegin {\n    inc zähler;x\n}\n}\n';
  const page = await openPage();
  await typeProgram(page, program);
  const wanted = diagnosticsOf(program).map((found) => found.message);
  assert.ok(wanted.some((message) => message.includes('zähle')), wanted.join('\n'));
  await page.waitForSelector('.cm-lintRange');
  await page.keyboard.press('Control+Shift+M');
  await page.waitForSelector('.cm-panel.cm-panel-lint li');
  const listed = await page.$$eval('.cm-panel.cm-panel-lint li', (items) => items.map((item) => item.textContent));
  for (const message of wanted) assert.ok(listed.some((text) => text.includes(message)), message);
  await page.close();
});

test('an example, a file opened from disk and the download of it', async () => {
  const page = await openPage();
  await page.selectOption('#examples', 'sum.tarnel');
  assert.equal(await editorText(page), readFileSync(`${top}/examples/sum.tarnel`, 'utf8').replace(/\n$/, '\n'));
  await page.fill('#input', '4\n5\n0\n');
  assert.match(await runAndWait(page), /the sum is 9/);

  // A program the assembler refuses runs nothing; its lines are the output.
  await typeProgram(page, 'kiv demo {\nbegin {\nprint "x"\n}\n}\n');
  assert.equal(await runAndWait(page), 'error(1) var block not found\n assembled with (1) error(s) \n');
  assert.match(await page.textContent('#status'), /tarnel stops at these errors: nothing ran/);
  assert.equal(await page.isEnabled('#run'), true);

  // A Latin-1 file with CR LF line ends comes back byte for byte.
  const folder = mkdtempSync(join(tmpdir(), 'tarnel-open-'));
  const bytes = Buffer.from('kiv latin {\r\nvar {\r\nvar$ s := "caf\xe9\\n"\r\n}\r\nbegin {\r\n    print s\r\n}\r\n}\r\n', 'latin1');
  writeFileSync(join(folder, 'latin.tarnel'), bytes);
  await page.setInputFiles('#open-file', join(folder, 'latin.tarnel'));
  await page.waitForFunction(() => document.querySelector('#file-name').textContent === 'latin.tarnel');
  assert.match(await editorText(page), /café/);
  assert.equal(await runAndWait(page), 'café\n');
  // Its value in the Variables view keeps the letter as well.
  await page.click('#step');
  await waitForStatus(page, /runs first/);
  assert.equal((await variablesShown(page)).s[1], '"café\\n"');
  await page.click('#stop');
  await page.waitForFunction(() => document.querySelector('#stop').disabled);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#download')]);
  assert.equal(download.suggestedFilename(), 'latin.tarnel');
  assert.deepEqual(readFileSync(await download.path()), bytes);
  rmSync(folder, { recursive: true, force: true });
  await page.close();
});

test('a learner runs with input, steps to a variable and steps back over a pop and an input', async () => {
  const page = await openPage();
  await typeProgram(page, STEPPED);
  await page.waitForSelector('.cm-lintRange');

  // Run: the program asks for its input, the field says so and has the keys.
  await page.click('#run');
  await waitForStatus(page, /waiting for input \(line 7\)/);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'input');
  assert.match(await page.textContent('#input-hint'), /waiting for input/);
  assert.equal(await page.isEditable('.cm-content'), false);
  await page.keyboard.type('21');
  await page.keyboard.press('Enter');
  await waitForStatus(page, /ended after 6 steps/);
  assert.equal(await page.textContent('#output'), '42');

  // A breakpoint by a click in the gutter; F5 runs to it, F10 steps twice.
  await clickGutter(page, 9);
  await page.keyboard.press('F5');
  await waitForStatus(page, /waiting for input/);
  await page.keyboard.type('21');
  await page.keyboard.press('Enter');
  await waitForStatus(page, /breakpoint on line 9, after 2 steps/);
  assert.equal(await nextLine(page), 9);
  await page.keyboard.press('F10');
  await waitForStatus(page, /^Step 3: total = 42; line 10 runs next/);
  assert.deepEqual(await variablesShown(page), { n: ['integer', '21', false], total: ['integer', '42', true] });
  await page.keyboard.press('F10');
  await waitForStatus(page, /^Step 4: pushed 42; line 11 runs next/);
  assert.equal(await nextLine(page), 11);
  assert.deepEqual(await stackShown(page), ['42']);

  // On to the end, then back over the pop, the print and the input.
  await page.keyboard.press('F5');
  await waitForStatus(page, /ended after 6 steps/);
  assert.equal(await page.textContent('#output'), '42');
  assert.deepEqual(await variablesShown(page), { n: ['integer', '42', true], total: ['integer', '42', false] });
  await page.click('#step-back');  // the end
  await waitForStatus(page, /^Stepped back to step 6: line 13 runs next/);
  await page.keyboard.press('Shift+F10');  // the pop
  await waitForStatus(page, /^Stepped back to step 5: line 12 runs next/);
  assert.deepEqual(await variablesShown(page), { n: ['integer', '21', true], total: ['integer', '42', false] });
  assert.deepEqual(await stackShown(page), ['42']);
  // The picture for the README: a breakpoint, the next line, the mark, a
  // value that stepping back changed, the stack and the output.
  await page.screenshot({ path: join(artifacts, 'playground.png') });
  await page.keyboard.press('Shift+F10');  // the print
  await waitForStatus(page, /^Stepped back to step 4: line 11 runs next/);
  assert.equal(await page.textContent('#output'), '');
  for (const step of [3, 2, 1, 0]) {
    await page.keyboard.press('Shift+F10');
    await waitForStatus(page, new RegExp(`^Stepped back to step ${step}:`));
  }
  assert.equal(await nextLine(page), 7);
  assert.deepEqual(await variablesShown(page), { n: ['integer', '0', true], total: ['integer', '0', false] });
  assert.deepEqual(await stackShown(page), []);
  assert.equal(await page.textContent('#input-queue'), 'Queued: 21');
  assert.equal(await page.isDisabled('#step-back'), true);

  // Forward again: the input reads the word it gave back.
  await page.keyboard.press('F5');
  await waitForStatus(page, /breakpoint on line 9/);
  assert.deepEqual(await variablesShown(page), { n: ['integer', '21', true], total: ['integer', '21', true] });
  // A quick fix waits for the end of the run, as typing does.
  await page.click('.cm-content');
  await page.keyboard.press('Control+Shift+M');
  await page.waitForSelector('.cm-panel.cm-panel-lint li');
  await page.keyboard.press('f');
  await waitForStatus(page, /Stop \(Shift\+F5\) to edit it/);
  assert.equal(await editorText(page), STEPPED);
  await page.keyboard.press('Escape');
  await page.keyboard.press('Shift+F5');
  await waitForStatus(page, /^Stopped after 2 steps/);
  assert.equal(await nextLine(page), 0);
  assert.equal(await page.isEditable('.cm-content'), true);

  // An example loaded while stepping ends the run: its lines are others.
  await page.keyboard.press('F10');
  await waitForStatus(page, /runs first/);
  assert.equal(await nextLine(page), 7);
  await page.selectOption('#examples', 'hello.tarnel');
  await page.waitForFunction(() => document.querySelector('#stop').disabled);
  assert.equal(await nextLine(page), 0);
  assert.equal(await page.isEditable('.cm-content'), true);
  assert.match(await page.textContent('#status'), /hello.tarnel loaded/);
  assert.deepEqual(page.errors, []);
  await page.close();
});

test('an endless loop never holds up the page: Pause, Continue and Stop answer at once', async () => {
  const page = await openPage();
  await typeProgram(page, ENDLESS);
  await page.click('#run');
  await page.waitForFunction(() => /Running: [\d,]+ steps/.test(document.querySelector('#status').textContent));
  // The page answers while the program runs; the text stays as it is, so
  // that its lines stay true.
  await page.click('.cm-content');
  await page.keyboard.press('Control+End');
  await page.keyboard.type('; typed while running');
  assert.equal(await editorText(page), ENDLESS);
  assert.match(await page.textContent('#status'), /Stop \(Shift\+F5\) to edit it/);
  await page.click('#tab-bytecode');
  await page.waitForFunction(() => document.querySelector('#panel-bytecode .file-title').textContent === 'forever.kiv');
  await page.click('#tab-source');
  const answered = await page.evaluate(() => new Promise((resolve) => {
    const started = performance.now();
    const watch = new MutationObserver(() => {
      if (document.querySelector('#status').textContent.startsWith('Paused')) resolve(performance.now() - started);
    });
    watch.observe(document.querySelector('#status'), { childList: true, characterData: true, subtree: true });
    document.querySelector('#pause').click();
  }));
  // How fast, web/bench/page_bench.mjs measures; here only that it does.
  assert.ok(answered < 2000, `Pause answered after ${answered} ms`);
  await page.click('#continue');
  await page.waitForFunction(() => document.querySelector('#status').textContent.startsWith('Running'));
  // Run again from a pause: the new run goes on, whatever the old one said last.
  await page.click('#pause');
  await page.waitForFunction(() => document.querySelector('#status').textContent.startsWith('Paused'));
  await page.click('#run');
  await page.waitForFunction(() => /Running: [\d,]+ steps/.test(document.querySelector('#status').textContent));
  assert.equal(await page.isEnabled('#stop'), true);
  assert.equal(await page.isEnabled('#run'), false);
  await page.click('#stop');
  await page.waitForFunction(() => /^Stopped after [\d,]+ steps/.test(document.querySelector('#status').textContent));
  assert.equal(await page.isEnabled('#run'), true);
  await page.close();
});

test('a share link opens the same program in a new tab', async () => {
  const page = await openPage();
  await typeProgram(page, PROGRAM);
  await page.click('#share');
  await page.waitForFunction(() => location.hash.startsWith('#code='));
  const link = await page.evaluate(() => location.href);
  await page.close();
  const opened = await openPage(link);
  assert.equal(await editorText(opened), PROGRAM);
  assert.equal(await opened.textContent('#file-name'), 'shared.tarnel');
  await opened.close();
});

test('no serious accessibility violation, at a desktop and a phone width', async () => {
  const page = await openPage();
  await typeProgram(page, PROGRAM);
  await page.waitForSelector('.cm-lintRange');
  assert.deepEqual(await seriousViolations(page), []);
  // While stepping: the next line, a breakpoint and the views filled in.
  await page.click('.cm-content');
  await page.keyboard.press('Control+Home');
  await page.keyboard.press('ArrowDown', { delay: 0 });
  for (let line = 2; line < 9; ++line) await page.keyboard.press('ArrowDown');
  await page.keyboard.press('F9');
  await page.fill('#input', '21');
  await page.keyboard.press('F10');
  await waitForStatus(page, /runs first/);
  await page.keyboard.press('F5');
  await waitForStatus(page, /breakpoint on line 9/);
  assert.ok((await page.$$('#view-variables tbody tr')).length === 2);
  assert.deepEqual(await seriousViolations(page), []);
  await page.keyboard.press('Shift+F5');
  await waitForStatus(page, /^Stopped/);
  await page.setViewportSize({ width: 390, height: 844 });
  await page.fill('#input', '21\n');
  await page.click('#run');
  await waitForStatus(page, /breakpoint on line 9/);
  await page.screenshot({ path: join(artifacts, 'playground-narrow.png'), fullPage: true });
  assert.deepEqual(await seriousViolations(page), []);
  // Nothing wider than the screen.
  assert.ok(await page.evaluate(() => document.documentElement.scrollWidth <= window.innerWidth));
  await page.close();
});
