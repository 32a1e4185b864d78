// The page's worker: it holds the toolchain's module and answers the page,
// so that no check and no run ever holds up typing.
//
// Requests that are answered once: {id, kind: "check" | "assemble" |
// "translate", source}, and {id, kind: "fix", source, diagnostic, fix},
// answered by {id, result}: the diagnostics of the checker's JSON
// document, the translator's result, the text with the fix made.
//
// A run is one debugging session (PageSession in the module):
//   {kind: "start", runId, source, record, input, endInput, breakpoints,
//    goal}
//       assembles source and, when that works, queues input (and ends it
//       when endInput is true), sets the
//       breakpoints (source lines) and works towards goal: "run" to the
//       end or a breakpoint, "step" to stop before the first instruction;
//   {kind: "continue" | "step" | "stepBack" | "pause" | "stop"};
//   {kind: "input", text}, {kind: "endInput"}: the program's input queue;
//   {kind: "breakpoints", lines}: the breakpoints from now on.
// Goals go on in slices of a few milliseconds, so that every request is
// answered between two slices. Texts are byte strings (bytes.js).
//
// A run reports, each with the runId the page gave it:
//   {kind: "console", text}: tarnel's error lines, before anything else;
//   {kind: "output", text, at, cutTo, gap}: the program's output
//       (output_relay.js): cutTo, when given, is the length the output
//       shown is first cut back to (a step back took output back); gap says
//       that output before text was left out;
//   {kind: "progress", steps} while a goal runs;
//   {kind: "stopped", reason, state}: the goal stopped ("steps",
//       "breakpoint", "paused", "input" when the program waits for input,
//       "ended", "start", "history"); state as PageSession::stateJson;
//   {kind: "state", state}: the state after input was queued while no goal
//       runs;
//   {kind: "breakpoints", placed}: [line, line the run stops at (0: none)];
//   {kind: "ended", reason, steps}: the session is over ("stopped", or
//       "refused" when the assembler's errors stopped it).

/* global importScripts, createTarnel */
import { OutputRelay } from './output_relay.js';
import { decodeBytes } from './bytes.js';

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
    case 'check': {
      // The document is UTF-8; its strings keep the source's bytes
      // (bytesOfJsonString in bytes.js gives them back).
      const document = JSON.parse(decodeBytes(tarnel.checkJson('program.tarnel', request.source), 'utf-8'));
      return document.files[0].diagnostics;
    }
    case 'fix': {
      const made = tarnel.applyFix(request.source, request.diagnostic, request.fix);
      return made.applied ? made.text : null;
    }
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

function collectOutput() {
  run.output.collect(run.session.takeOutput(), run.session.outputLength());
}

function reportOutput() {
  collectOutput();
  const output = run.output.take();
  if (output) report({ kind: 'output', ...output });
}

// The session's state: its JSON document is UTF-8, its strings hold bytes
// as the checker's do (bytesOfJsonString in bytes.js gives them back).
function stateOf(session) {
  return JSON.parse(decodeBytes(session.stateJson(), 'utf-8'));
}

function reportStop(reason) {
  run.lastStop = reason;
  reportOutput();
  report({ kind: 'stopped', reason, state: stateOf(run.session) });
}

function endRun(reason) {
  if (!run) return;
  const steps = run.session ? run.session.steps() : 0;
  if (run.session) {
    reportOutput();
    run.session.delete();
  }
  report({ kind: 'ended', reason, steps });
  if (run.channel) run.channel.port1.close();
  run = null;
}

// One slice of the goal in progress: as many steps as fit in SLICE_MS,
// judged from the last slice. A slice asked for by an earlier run, or
// after the goal stopped, does nothing.
function slice(of) {
  if (!run || run !== of || !run.going) return;
  const started = performance.now();
  const reason = run.session.advance(run.stepsPerSlice);
  const spent = performance.now() - started;
  if (spent < SLICE_MS / 2 && run.stepsPerSlice < 1 << 26) run.stepsPerSlice *= 2;
  else if (spent > SLICE_MS * 2 && run.stepsPerSlice > 64) run.stepsPerSlice >>= 1;
  collectOutput();
  if (reason !== 'budget') {
    run.going = false;
    reportStop(reason);
    return;
  }
  if (started - run.lastReport >= REPORT_MS) {
    run.lastReport = started;
    reportOutput();
    report({ kind: 'progress', steps: run.session.steps() });
  }
  run.channel.port2.postMessage(null);
}

// Goes on towards the goal just set (or the one waiting for input).
function go() {
  if (run.going) return;
  run.going = true;
  run.lastReport = performance.now();
  slice(run);
}

function placeBreakpoints(lines) {
  run.session.clearBreakpoints();
  const placed = lines.map((line) => [line, run.session.addBreakpointLine(line)]);
  report({ kind: 'breakpoints', placed });
}

function startRun(request) {
  endRun('stopped');
  run = {
    id: request.runId,
    session: null,
    going: false,
    stepsPerSlice: 1024,
    lastReport: 0,
    output: new OutputRelay(OUTPUT_TAIL),
  };
  const session = new tarnel.PageSession(request.source, request.record);
  if (session.console() !== '') report({ kind: 'console', text: session.console() });
  if (!session.assembled()) {
    session.delete();
    endRun('refused');
    return;
  }
  run.session = session;
  // A message to itself lets the worker read the page's messages between
  // two slices without the delay a timer would add.
  run.channel = new MessageChannel();
  const thisRun = run;
  run.channel.port1.onmessage = () => slice(thisRun);
  if (request.input) session.feedInput(request.input);
  if (request.endInput) session.endInput();
  placeBreakpoints(request.breakpoints ?? []);
  if (request.goal === 'step') {
    reportStop('none');
  } else {
    session.runOn();
    go();
  }
}

// The requests about the run in progress.
function steer(request) {
  const { session } = run;
  switch (request.kind) {
    case 'continue':
      session.runOn();
      go();
      return;
    case 'step':
      session.step(1);
      go();
      return;
    case 'stepBack':
      session.stepBack(1);
      go();
      return;
    case 'pause':
      // A goal that runs, or waits for input, ends here.
      if (run.going || run.lastStop === 'input') {
        session.pause();
        run.going = false;
        reportStop('paused');
      }
      return;
    case 'input':
      session.feedInput(request.text);
      break;
    case 'endInput':
      session.endInput();
      break;
    case 'breakpoints':
      placeBreakpoints(request.lines);
      return;
    default:
      return;
  }
  // Input for a program that waits for it: the goal goes on. Otherwise the
  // page learns what is queued now.
  if (run.going) return;
  if (run.lastStop === 'input') go();
  else report({ kind: 'state', state: stateOf(session) });
}

function handle(request) {
  switch (request.kind) {
    case 'start':
      startRun(request);
      return;
    case 'stop':
      endRun('stopped');
      return;
    case 'continue':
    case 'step':
    case 'stepBack':
    case 'pause':
    case 'input':
    case 'endInput':
    case 'breakpoints':
      if (run && run.session) steer(request);
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
