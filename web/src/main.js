// The page: wires the editor, the tabs, the file commands, the share link
// and the run to the toolchain's worker.
import examples from 'tarnel:examples';
import { createEditor, replaceText } from './editor.js';
import { Toolchain } from './toolchain.js';
import {
  arrayFromByteString,
  byteStringFromArray,
  ByteStringDecoder,
  decodeBytes,
  detectEncoding,
  encodeText,
  encodingFor,
} from './bytes.js';
import { fragmentFor, textFromFragment } from './share.js';
import { setUpTabs } from './tabs.js';

const STORAGE_KEY = 'tarnel-playground-program';
// The output pane keeps the end of a long output, about this many characters
// (some hundreds of lines, as a terminal keeps), and shows what came at most
// every OUTPUT_MS, so that a program printing without end leaves the page
// free to answer.
const OUTPUT_LIMIT = 30000;
const OUTPUT_MS = 100;
const LEFT_OUT = '[earlier output left out]\n';

const $ = (selector) => document.querySelector(selector);
const toolchain = new Toolchain(window.tarnelWorker);

// The file the program came from: its name, its encoding and its line ends,
// so that a download gives back the same kind of file.
const file = { name: 'program.tarnel', encoding: 'utf-8', lineEnd: '\n' };

function setStatus(text) {
  $('#status').textContent = text;
}

function setFileName(name) {
  file.name = name;
  $('#file-name').textContent = name;
}

let view = null;

function programText() {
  return view.state.doc.toString();
}

function currentEncoding() {
  return encodingFor(programText(), file.encoding);
}

// The program as the bytes of its file, as a byte string.
function programBytes(lineEnd = '\n') {
  const text = programText();
  return encodeText(lineEnd === '\n' ? text : text.replace(/\n/g, lineEnd), currentEncoding());
}

function download(name, byteString) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([arrayFromByteString(byteString)]));
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

// Loads a text as the program: one change that Ctrl+Z takes back.
function loadProgram(text, name, encoding = 'utf-8') {
  file.encoding = encoding;
  file.lineEnd = text.includes('\r\n') ? '\r\n' : '\n';
  setFileName(name);
  replaceText(view, text.replace(/\r\n/g, '\n'));
  view.focus();
}

// ---- The tabs that show the files the translators write.

const filePanels = {
  bytecode: { panel: $('#panel-bytecode'), ask: (s) => toolchain.assemble(s), suffix: '.kiv', tool: 'tarnel' },
  perl: { panel: $('#panel-perl'), ask: (s) => toolchain.translate(s), suffix: '.pl', tool: 'tarnel_perl' },
};
let shownTab = 'source';
let refreshTimer = 0;

async function refreshFilePanel(name) {
  const entry = filePanels[name];
  if (!entry) return;
  const encoding = currentEncoding();
  const result = await entry.ask(programBytes());
  const { panel } = entry;
  const lines = panel.querySelector('.console-lines');
  lines.hidden = result.console === '';
  lines.textContent = decodeBytes(result.console, encoding);
  const title = panel.querySelector('.file-title');
  const button = panel.querySelector('.file-download');
  if (result.written) {
    entry.fileName = decodeBytes(result.objectName, encoding).replace(/[\r\n]/g, '') + entry.suffix;
    entry.bytes = result.fileText;
    title.textContent = entry.fileName;
    panel.querySelector('.file-text').textContent = decodeBytes(result.fileText, encoding);
    button.hidden = false;
  } else {
    title.textContent = `${entry.tool} stops at these errors and writes no file.`;
    panel.querySelector('.file-text').textContent = '';
    button.hidden = true;
  }
}

for (const entry of Object.values(filePanels)) {
  entry.panel.querySelector('.file-download').addEventListener('click', () => {
    if (entry.bytes !== undefined) download(entry.fileName, entry.bytes);
  });
}

function programChanged() {
  clearTimeout(refreshTimer);
  refreshTimer = setTimeout(() => {
    refreshFilePanel(shownTab);
    try {
      localStorage.setItem(STORAGE_KEY, JSON.stringify({ text: programText(), ...file }));
    } catch {
      // A browser that keeps nothing still runs the page.
    }
  }, 300);
}

// ---- Running.

const output = $('#output');
const buttons = {
  run: $('#run'),
  pause: $('#pause'),
  continue: $('#continue'),
  stop: $('#stop'),
};
let runState = 'idle';
let outputDecoder = null;

function setRunState(state) {
  runState = state;
  buttons.run.disabled = state === 'running';
  buttons.pause.disabled = state !== 'running';
  buttons.continue.disabled = state !== 'paused';
  buttons.stop.disabled = state === 'idle';
}

// The output as it stands (its end, after LEFT_OUT when it was cut), and
// whether the pane waits to show it.
let outputText = '';
let outputShowing = false;

function showOutput() {
  outputShowing = false;
  output.textContent = outputText;
  output.scrollTop = output.scrollHeight;
}

function setOutput(text) {
  outputText = text.length > OUTPUT_LIMIT ? LEFT_OUT + text.slice(text.length - OUTPUT_LIMIT) : text;
  if (outputShowing) return;
  outputShowing = true;
  setTimeout(() => requestAnimationFrame(showOutput), OUTPUT_MS);
}

function appendOutput(text) {
  if (text !== '') setOutput(outputText + text);
}

const steps = (count) => `${count.toLocaleString('en')} step${count === 1 ? '' : 's'}`;

toolchain.onRun((event) => {
  switch (event.kind) {
    case 'output':
      if (event.cut) {
        outputDecoder = new ByteStringDecoder(outputDecoder.encoding);
        setOutput(LEFT_OUT);
      }
      appendOutput(outputDecoder.decode(event.text));
      break;
    case 'progress':
      setStatus(`Running: ${steps(event.steps)} so far.`);
      break;
    case 'paused':
      showOutput();
      setRunState('paused');
      setStatus(`Paused after ${steps(event.steps)}. Continue goes on from here.`);
      break;
    case 'ended':
      showOutput();
      setRunState('idle');
      setStatus(
        event.reason === 'finished'
          ? `The program ended after ${steps(event.steps)}.`
          : event.reason === 'stopped'
            ? `Stopped after ${steps(event.steps)}.`
            : 'tarnel stops at these errors: nothing ran.',
      );
      break;
    default:
      break;
  }
});

function run() {
  if (runState === 'running') return;
  outputText = '';
  output.textContent = '';
  const encoding = currentEncoding();
  outputDecoder = new ByteStringDecoder(encoding);
  setRunState('running');
  setStatus('Running…');
  toolchain.run(programBytes(), encodeText($('#input').value, encoding));
}

buttons.run.addEventListener('click', run);
buttons.pause.addEventListener('click', () => toolchain.pause());
buttons.continue.addEventListener('click', () => {
  setRunState('running');
  setStatus('Running…');
  toolchain.continue();
});
buttons.stop.addEventListener('click', () => toolchain.stop());

// ---- Files, examples and the share link.

for (const example of examples) {
  const option = document.createElement('option');
  option.value = example.name;
  option.textContent = example.name;
  $('#examples').append(option);
}
$('#examples').addEventListener('change', (event) => {
  const example = examples.find((e) => e.name === event.target.value);
  if (example) {
    loadProgram(example.text, example.name);
    setStatus(`${example.name} loaded; Ctrl+Z brings your text back.`);
  }
});

$('#open').addEventListener('click', () => $('#open-file').click());
$('#open-file').addEventListener('change', async (event) => {
  const chosen = event.target.files[0];
  event.target.value = '';
  if (!chosen) return;
  const bytes = new Uint8Array(await chosen.arrayBuffer());
  const encoding = detectEncoding(bytes);
  loadProgram(decodeBytes(byteStringFromArray(bytes), encoding), chosen.name, encoding);
  setStatus(`${chosen.name} opened.`);
});

$('#download').addEventListener('click', () => {
  download(file.name, programBytes(file.lineEnd));
  setStatus(`${file.name} downloaded.`);
});

$('#share').addEventListener('click', async () => {
  const link = `${location.href.replace(/#.*$/, '')}#${await fragmentFor(programText())}`;
  history.replaceState(null, '', link);
  try {
    await navigator.clipboard.writeText(link);
    setStatus('The share link is copied, and in the address bar.');
  } catch {
    setStatus('The share link is in the address bar: copy it from there.');
  }
});

async function openSharedLink() {
  const text = await textFromFragment(location.hash);
  if (text === null) return false;
  loadProgram(text, 'shared.tarnel');
  setStatus('The program of the link is loaded.');
  return true;
}
window.addEventListener('hashchange', openSharedLink);

// ---- Keys that work anywhere on the page.

document.addEventListener('keydown', (event) => {
  const plain = !event.ctrlKey && !event.altKey && !event.metaKey;
  if (event.key === 'F5' && plain) {
    event.preventDefault();
    if (event.shiftKey) {
      if (runState !== 'idle') toolchain.stop();
    } else if (runState === 'paused') {
      buttons.continue.click();
    } else {
      run();
    }
  } else if (event.key === 'Enter' && event.ctrlKey) {
    event.preventDefault();
    run();
  } else if ((event.key === 's' || event.key === 'o') && event.ctrlKey && !event.shiftKey) {
    event.preventDefault();
    $(event.key === 's' ? '#download' : '#open').click();
  }
});

// ---- Start.

function savedProgram() {
  try {
    return JSON.parse(localStorage.getItem(STORAGE_KEY));
  } catch {
    return null;
  }
}

async function start() {
  const first = examples.find((e) => e.name === 'hello.tarnel') ?? examples[0];
  view = createEditor({
    parent: $('#panel-source'),
    text: '',
    check: async (text) => {
      const encoding = currentEncoding();
      const decode = (message) => decodeBytes(message, encoding);
      const found = await toolchain.check(encodeText(text, encoding));
      return found.map((diagnostic) => ({
        ...diagnostic,
        message: decode(diagnostic.message),
        notes: diagnostic.notes.map((note) => ({ ...note, message: decode(note.message) })),
      }));
    },
    encoding: currentEncoding,
    onChange: programChanged,
  });
  setUpTabs((name) => {
    shownTab = name;
    refreshFilePanel(name);
  });
  if (!(await openSharedLink())) {
    const saved = savedProgram();
    if (saved && typeof saved.text === 'string') {
      loadProgram(saved.text, saved.name, saved.encoding);
      file.lineEnd = saved.lineEnd === '\r\n' ? '\r\n' : '\n';
    } else {
      loadProgram(first.text, first.name);
    }
  }
  setRunState('idle');
  await toolchain.ready;
  setStatus('Ready. Run (F5 or Ctrl+Enter) runs the program.');
  // For the page's benchmark: when the page became ready.
  performance.mark('tarnel-ready');
}

start();
