// The page's side of the worker (worker.js): requests that are answered
// once, and the events of a run.

export class Toolchain {
  // worker: worker.js, already started, or made here.
  constructor(worker) {
    this.worker = worker ?? new Worker('worker.js');
    this.nextId = 1;
    this.pending = new Map();
    this.runListener = () => {};
    this.ready = new Promise((resolve) => {
      this.markReady = resolve;
    });
    const early = this.worker.early ?? [];
    this.worker.onmessage = (event) => this.receive(event.data);
    for (const message of early.splice(0)) this.receive(message);
  }

  receive(message) {
    if (message.id !== undefined) {
      const resolve = this.pending.get(message.id);
      this.pending.delete(message.id);
      if (resolve) resolve(message.result);
    } else if (message.kind === 'ready') {
      this.markReady();
    } else if (message.runId === this.runId) {
      this.runListener(message);
    }
  }

  request(kind, source, details = {}) {
    const id = this.nextId++;
    return new Promise((resolve) => {
      this.pending.set(id, resolve);
      this.worker.postMessage({ id, kind, source, ...details });
    });
  }

  // The checker's diagnostics as its JSON document holds them: [{line,
  // column, length, severity, message, notes, fixes}], positions in bytes
  // as tarnel_check gives them.
  check(source) {
    return this.request('check', source);
  }

  // source with the fix-it numbered fix of the diagnostic numbered
  // diagnostic made (both from 0, as check gives them); null when source
  // does not offer that fix.
  fix(source, diagnostic, fix) {
    return this.request('fix', source, { diagnostic, fix });
  }

  // {written, objectName, fileText, console, closingLine} as tarnel or
  // tarnel_perl would make them.
  assemble(source) {
    return this.request('assemble', source);
  }

  translate(source) {
    return this.request('translate', source);
  }

  // listener receives the reports of the latest run only (see worker.js):
  // what an earlier one still says is dropped.
  onRun(listener) {
    this.runListener = listener;
  }

  // Starts a new run: {source, record, input, breakpoints, goal}.
  start(options) {
    this.runId = (this.runId ?? 0) + 1;
    this.worker.postMessage({ kind: 'start', runId: this.runId, ...options });
  }

  // "continue", "step", "stepBack", "pause", "stop", "endInput".
  send(kind) {
    this.worker.postMessage({ kind });
  }

  input(text) {
    this.worker.postMessage({ kind: 'input', text });
  }

  setBreakpoints(lines) {
    this.worker.postMessage({ kind: 'breakpoints', lines });
  }
}
