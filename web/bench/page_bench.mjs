// The page from a local server in Chromium: how long after the start of a
// navigation the page is ready (the editor takes typing and the toolchain
// answers), how long Pause takes to stop an endless loop (run freely, and
// recording every step after a start with Step), and how many compressed
// bytes a first visit transfers. Medians of several loads in a
// browser that is already running, as a learner's is.
//
//   node web/bench/page_bench.mjs [loads]     (default 5; BENCH_RUNS too)
//
// TARNEL_SITE_DIR names the built site (default build-web/site).
import { resolve } from 'node:path';
import { serveSite } from '../serve.mjs';
import { startChromium } from '../test/chromium.mjs';
import { top } from '../test/toolchain_module.mjs';

const loads = Number(process.argv[2] ?? process.env.BENCH_RUNS ?? 5);
const siteDir = resolve(process.env.TARNEL_SITE_DIR ?? `${top}/build-web/site`);
// An endless loop that prints as fast as it can.
const ENDLESS =
  'kiv forever {\nvar {\nvar& n\n}\nbegin {\ntop:\n    inc n\n    print n\n    print "\\n"\n    jmp top\n}\n}\n';
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

// Milliseconds from a click on Pause until the status says the run paused.
function timePause(page) {
  return page.evaluate(() => new Promise((answer) => {
    const started = performance.now();
    const watch = new MutationObserver(() => {
      if (document.querySelector('#status').textContent.startsWith('Paused')) answer(performance.now() - started);
    });
    watch.observe(document.querySelector('#status'), { childList: true, characterData: true, subtree: true });
    document.querySelector('#pause').click();
  }));
}

const server = await serveSite(siteDir, 0);
const origin = `http://127.0.0.1:${server.address().port}/`;
const browser = await startChromium();
const ready = [];
const pause = [];
const recordedPause = [];
let transferred = 0;
try {
  for (let load = 0; load < loads; ++load) {
    const page = await browser.context.newPage();
    let bytes = 0;
    page.on('response', async (response) => {
      bytes += Number((await response.allHeaders())['content-length'] ?? 0);
    });
    await page.goto(origin);
    await page.waitForFunction(() => document.querySelector('#status').textContent.startsWith('Ready'));
    ready.push(await page.evaluate(() => performance.getEntriesByName('tarnel-ready')[0].startTime));
    transferred = Math.max(transferred, bytes);

    await page.click('.cm-content');
    await page.keyboard.press('Control+A');
    await page.keyboard.insertText(ENDLESS);
    await page.click('#run');
    await page.waitForFunction(() => /Running: /.test(document.querySelector('#status').textContent));
    pause.push(await timePause(page));
    await page.click('#stop');
    await page.waitForFunction(() => /^Stopped/.test(document.querySelector('#status').textContent));
    await page.click('#step');
    await page.waitForFunction(() => /runs first/.test(document.querySelector('#status').textContent));
    await page.click('#continue');
    await page.waitForFunction(() => /Running: /.test(document.querySelector('#status').textContent));
    recordedPause.push(await timePause(page));
    await page.click('#stop');
    await page.close();
  }
} finally {
  await browser.close();
  server.close();
}

const rows = [
  ['ready after navigation', `${Math.round(median(ready))} ms`, 'at most 1000 ms', median(ready) <= 1000],
  ['Pause of an endless loop', `${median(pause).toFixed(1)} ms`, 'at most 200 ms', median(pause) <= 200],
  ['Pause, recording each step', `${median(recordedPause).toFixed(1)} ms`, 'at most 200 ms', median(recordedPause) <= 200],
  ['first visit, compressed', `${(transferred / 1024).toFixed(0)} KiB`, 'at most 1536 KiB', transferred <= 1536 * 1024],
];
console.log(`median of ${loads} loads from a local server, gzip as a static host sends it\n`);
for (const [what, figure, target, met] of rows) {
  console.log(`${what.padEnd(26)} ${figure.padStart(10)}   ${target}${met ? '' : '  NOT MET'}`);
}
console.log(rows.every((row) => row[3]) ? '\nevery target met' : '\nsome target not met');
