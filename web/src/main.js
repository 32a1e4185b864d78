// The page: wires the editor, the tabs, the file commands, the share link
// and the run (run_control.js) to the toolchain's worker.
import examples from 'tarnel:examples';
import { createEditor, replaceText } from './editor.js';
import { Toolchain } from './toolchain.js';
import {
  arrayFromByteString,
  bytesOfJsonString,
  byteStringFromArray,
  decodeBytes,
  detectEncoding,
  encodeText,
  encodingFor,
} from './bytes.js';
import { fragmentFor, textFromFragment } from './share.js';
import { setUpTabs } from './tabs.js';
import { setUpRunning } from './run_control.js';

const STORAGE_KEY = 'tarnel-playground-program';

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
  running?.textChanged();
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

// ---- Running and debugging.

let running = null;

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
  if (running?.onKey(event)) return;
  if ((event.key === 's' || event.key === 'o') && event.ctrlKey && !event.shiftKey) {
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
      const decode = (message) => decodeBytes(bytesOfJsonString(message), encoding);
      const found = await toolchain.check(encodeText(text, encoding));
      return found.map((diagnostic) => ({
        ...diagnostic,
        message: decode(diagnostic.message),
        notes: diagnostic.notes.map((note) => ({ ...note, message: decode(note.message) })),
        fixes: diagnostic.fixes.map((fix) => ({ ...fix, description: decode(fix.description) })),
      }));
    },
    fix: async (text, diagnostic, fix) => {
      const encoding = currentEncoding();
      const fixed = await toolchain.fix(encodeText(text, encoding), diagnostic, fix);
      if (fixed === null) return null;
      setStatus('Fixed; Ctrl+Z takes the fix back.');
      return decodeBytes(fixed, encoding);
    },
    encoding: currentEncoding,
    onChange: programChanged,
    onToggleBreakpoint: () => running?.breakpointsChanged(),
    onStaleFix: () => setStatus('The text changed since it was checked: choose the fix again once its mark is back.'),
    onBlockedEdit: () => running?.hint('The text stays as it is while the program runs, so that its lines stay true: Stop (Shift+F5) to edit it.'),
  });
  running = setUpRunning({
    toolchain,
    editor: () => view,
    programBytes: () => programBytes(),
    currentEncoding,
    setStatus,
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
  running.reset();
  await toolchain.ready;
  setStatus('Ready. Run (F5 or Ctrl+Enter) runs the program; Step (F10) goes one line at a time.');
  // For the page's benchmark: when the page became ready.
  performance.mark('tarnel-ready');
}

start();
