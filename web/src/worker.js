// The page's worker: it holds the toolchain's module and answers the page,
// so that no check and no run ever holds up typing.
//
// Requests (from the page): {id, kind: "check" | "assemble" | "translate",
// source} are answered by {id, result}; "run" starts a program, which then
// goes on in slices of a few milliseconds, so that "pause", "continue" and
// "stop" (and checks while it runs) are answered between two slices.
// Texts are byte strings (bytes.js). A run reports {kind: "output", text},
// {kind: "progress", steps}, {kind: "paused", steps} and finally
// {kind: "ended", steps, reason}, each with the runId the page gave it. An
// output report says "cut" when output before its text was left out.
//
// The debugging core will add stepping, breakpoints, an input queue and the
// program's state here as more kinds of request.

/* global importScripts, createTarnel */
importScripts('tarnel.js');

// How long one slice of a run may last, and how often the page hears of it.
const SLICE_MS = 12;
const REPORT_MS = 50;
// The page shows the end of a long output; so much of it, in bytes, is
// kept between two reports, and the page is told when more was left out.
const OUTPUT_TAIL = 256 * 1024;

let tarnel = null;
const waiting = [];
let run = null;

function answer(request) {
  switch (request.kind) {
    case 'check':
      return JSON.parse(tarnel.diagnosticsJson(request.source));
    case 'assemble':
      return tarnel.assemble(request.source);
    case 'translate':
      return tarnel.translate(request.source);
    default:
      return null;
  }
}

function report(message) {
  postMessage({ ...message, runId: run.id });
}

// Takes the program's new output into the next report.
function collectOutput() {
  if (!run.program) return;
  run.pending += run.program.takeOutput();
  if (run.pending.length > OUTPUT_TAIL) {
    run.pending = run.pending.slice(run.pending.length - OUTPUT_TAIL);
    run.cut = true;
  }
}

function reportOutput() {
  collectOutput();
  if (run.pending !== '' || run.cut) report({ kind: 'output', text: run.pending, cut: run.cut });
  run.pending = '';
  run.cut = false;
}

function endRun(reason) {
  if (!run) return;
  reportOutput();
  report({ kind: 'ended', steps: run.program ? run.program.steps() : 0, reason });
  if (run.program) run.program.delete();
  if (run.channel) run.channel.port1.close();
  run = null;
}

// One slice of the run that is going: as many steps as fit in SLICE_MS,
// judged from the last slice. A slice asked for by an earlier run does
// nothing.
function slice(of = run) {
  if (!run || run !== of || run.paused) return;
  const started = performance.now();
  const goesOn = run.program.advance(run.stepsPerSlice);
  const spent = performance.now() - started;
  if (spent < SLICE_MS / 2 && run.stepsPerSlice < 1 << 26) run.stepsPerSlice *= 2;
  else if (spent > SLICE_MS * 2 && run.stepsPerSlice > 64) run.stepsPerSlice >>= 1;
  collectOutput();
  if (!goesOn) {
    endRun('finished');
    return;
  }
  if (started - run.lastReport >= REPORT_MS) {
    run.lastReport = started;
    reportOutput();
    report({ kind: 'progress', steps: run.program.steps() });
  }
  run.channel.port2.postMessage(null);
}

function startRun(id, source, input) {
  endRun('stopped');
  run = { id, program: null, paused: false, stepsPerSlice: 1024, lastReport: 0, pending: '', cut: false };
  const assembled = tarnel.assemble(source);
  run.pending = assembled.console;
  if (!assembled.written) {
    endRun('refused');
    return;
  }
  run.program = new tarnel.BytecodeRun(assembled.fileText, input);
  // A message to itself lets the worker read the page's messages between
  // two slices without the delay a timer would add.
  run.channel = new MessageChannel();
  const thisRun = run;
  run.channel.port1.onmessage = () => slice(thisRun);
  slice();
}

function handle(request) {
  switch (request.kind) {
    case 'run':
      startRun(request.runId, request.source, request.input);
      return;
    case 'pause':
      if (run) {
        run.paused = true;
        reportOutput();
        report({ kind: 'paused', steps: run.program ? run.program.steps() : 0 });
      }
      return;
    case 'continue':
      if (run && run.paused) {
        run.paused = false;
        slice();
      }
      return;
    case 'stop':
      endRun('stopped');
      return;
    default:
      postMessage({ id: request.id, result: answer(request) });
  }
}

onmessage = (event) => {
  if (tarnel) handle(event.data);
  else waiting.push(event.data);
};

createTarnel().then((module) => {
  tarnel = module;
  postMessage({ kind: 'ready' });
  for (const request of waiting.splice(0)) handle(request);
});
