// Running and debugging in the page: the Run, Pause, Continue, Stop, Step
// and Step Back buttons and their keys, the program's input queue, the
// Output pane, the views, and the editor's next line and breakpoints, all
// following the reports of the worker's debugging session.
//
// A run is in one of these states:
//   idle     no run: the text can be edited;
//   running  a goal goes on in the worker (Pause answers between slices);
//   waiting  the program waits for input: the input field says so;
//   paused   stopped at a line: the views show the program's state;
//   ended    the program has ended; Step Back can still go back through a
//            recorded run, and an edit of the text ends the session.
// A run records every step (so that Step Back can undo it) when it starts
// with Step or with a breakpoint set; a Run without breakpoints keeps no
// history and goes at the engine's full speed.
import { bytesOfJsonString, encodeText, decodeBytes } from './bytes.js';
import { breakpointLines, placeBreakpoints, setReadOnly, showNextLine, toggleBreakpoint } from './debugging.js';
import { OutputPane } from './output_pane.js';
import { showFlags, showStack, showVariables } from './views.js';

const HISTORY_STEPS = (1 << 20).toLocaleString('en');
const NOT_RECORDED =
  'This run records no steps to go back over: start it with Step (F10), or set a breakpoint before Run.';

const $ = (selector) => document.querySelector(selector);
const steps = (count) => `${count.toLocaleString('en')} step${count === 1 ? '' : 's'}`;

export function setUpRunning({ toolchain, editor, programBytes, currentEncoding, setStatus }) {
  const buttons = {
    run: $('#run'),
    pause: $('#pause'),
    continue: $('#continue'),
    stop: $('#stop'),
    step: $('#step'),
    stepBack: $('#step-back'),
    breakpoint: $('#breakpoint'),
  };
  const field = $('#input');
  const inputArea = $('.input-area');
  const inputHint = $('#input-hint');
  const queueLine = $('#input-queue');
  const output = new OutputPane($('#output'));
  const views = { variables: $('#view-variables'), stack: $('#view-stack'), flags: $('#view-flags') };
  const idleHint = inputHint.textContent;

  let runState = 'idle';
  // The run was stopped because the text changed: the status line keeps
  // what the change said.
  let stoppedByEdit = false;
  // A hint stays in the status line until then, before the count of steps.
  let hintUntil = 0;
  // The run's encoding and whether it records, the state of its last stop
  // and of the one before (for what changed).
  let run = null;
  // Input typed while no run goes on, for the next one.
  let queued = '';
  let queuedEnd = false;

  const view = () => editor();
  // The texts of the run's state, as its JSON strings hold them.
  const decode = (text) => decodeBytes(bytesOfJsonString(text), run ? run.encoding : currentEncoding());

  function setRunState(state) {
    runState = state;
    const undoable = run?.state?.undoable > 0;
    buttons.run.disabled = state === 'running';
    buttons.pause.disabled = state !== 'running' && state !== 'waiting';
    buttons.continue.disabled = state !== 'paused';
    buttons.stop.disabled = state === 'idle';
    buttons.step.disabled = state === 'running' || state === 'waiting';
    buttons.stepBack.disabled = !undoable || state === 'idle' || state === 'running';
    const waits = state === 'waiting';
    inputArea.classList.toggle('waiting', waits);
    inputHint.textContent = waits
      ? 'The program is waiting for input: type a value and press Enter.'
      : idleHint;
    setReadOnly(view(), state === 'running' || state === 'waiting' || state === 'paused');
  }

  function showQueue() {
    const pending = run?.state ? decode(run.state.pendingInput) : decodeBytes(queued, currentEncoding());
    const ended = run?.state ? run.state.inputEnded : queuedEnd;
    const words = pending.split(/\s+/).filter((word) => word !== '');
    const parts = [];
    if (words.length > 0) parts.push(`Queued: ${words.join(' ')}`);
    if (ended) parts.push('input ended: input reads the empty text');
    queueLine.textContent = parts.join('; ');
    queueLine.hidden = parts.length === 0;
  }

  function showViews(state, previous) {
    showVariables(views.variables, state, previous, decode);
    showStack(views.stack, state, decode);
    showFlags(views.flags, state, previous);
  }

  // Lines sent, for ArrowUp and ArrowDown in the field, as a terminal
  // recalls them; recalled is the index of the one shown.
  const sentLines = [];
  let recalled = 0;

  function recall(by) {
    const at = recalled + by;
    if (at < 0 || at > sentLines.length) return false;
    recalled = at;
    field.value = sentLines[at] ?? '';
    return true;
  }

  // Sends what the field holds as a line of input.
  function sendLine() {
    const bytes = encodeText(`${field.value}\n`, run ? run.encoding : currentEncoding());
    const line = field.value.replace(/\n+$/, '');
    if (line !== '' && line !== sentLines[sentLines.length - 1]) sentLines.push(line);
    recalled = sentLines.length;
    field.value = '';
    if (runState === 'idle' || !run) {
      queued += bytes;
    } else {
      toolchain.input(bytes);
      if (run.state) run.state.pendingInput += bytes;
      if (runState === 'waiting') {
        setRunState('running');
        setStatus('Running…');
      }
    }
    showQueue();
  }

  function endInput() {
    if (runState === 'idle' || !run) {
      queuedEnd = true;
    } else {
      toolchain.send('endInput');
      if (run.state) run.state.inputEnded = true;
      if (runState === 'waiting') setRunState('running');
    }
    setStatus('Input ended: from now on input reads the empty text.');
    showQueue();
  }

  function start(goal) {
    if (field.value !== '') sendLine();
    const lines = breakpointLines(view().state);
    const encoding = currentEncoding();
    run = { encoding, record: goal === 'step' || lines.length > 0, goal, state: null, previous: null };
    output.clear(encoding);
    showNextLine(view(), 0);
    showViews(null, null);
    toolchain.start({
      source: programBytes(),
      record: run.record,
      input: queued,
      endInput: queuedEnd,
      breakpoints: lines,
      goal,
    });
    queued = '';
    queuedEnd = false;
    setRunState('running');
    setStatus(goal === 'step' ? 'Starting…' : 'Running…');
  }

  const act = {
    run: () => start('run'),
    step: () => (runState === 'paused' ? go('step') : start('step')),
    continue: () => go('continue'),
    pause: () => toolchain.send('pause'),
    stop: () => toolchain.send('stop'),
    stepBack: () => {
      if (run && !run.record) {
        setStatus(NOT_RECORDED);
        return;
      }
      go('stepBack');
    },
    breakpoint: () => {
      const on = toggleBreakpoint(view());
      const line = view().state.doc.lineAt(view().state.selection.main.head).number;
      setStatus(on ? `Breakpoint set on line ${line}.` : `Breakpoint on line ${line} removed.`);
    },
  };

  function go(kind) {
    run.goal = kind;
    toolchain.send(kind);
    setRunState('running');
    if (kind === 'continue') setStatus('Running…');
  }

  function stopText(reason, state) {
    const next = state.line > 0 ? `line ${state.line} runs next` : 'the program is at its end';
    // A single step that arrives at a breakpoint is a step all the same.
    const stepped = run.goal === 'step' || run.goal === 'stepBack';
    switch (reason === 'breakpoint' && stepped ? 'steps' : reason) {
      case 'none':
        return `Line ${state.line} runs first. Step (F10) carries it out; Continue (F5) runs on.`;
      case 'steps':
        if (run.goal === 'stepBack') return `Stepped back to step ${state.steps.toLocaleString('en')}: ${next}.`;
        return `Step ${state.steps.toLocaleString('en')}${state.effect ? `: ${decode(state.effect)}` : ''}; ${next}.`;
      case 'breakpoint':
        return `Stopped at the breakpoint on line ${state.line}, after ${steps(state.steps)}.`;
      case 'paused':
        return `Paused after ${steps(state.steps)}: ${next}. Continue (F5) goes on.`;
      case 'input':
        return `The program is waiting for input (line ${state.line}): type it under Program input and press Enter.`;
      case 'ended':
        return `The program ended after ${steps(state.steps)}.${state.undoable > 0 ? ' Step Back (Shift+F10) goes back through it.' : ''}`;
      case 'start':
        return `Back at the start of the run: line ${state.line} runs first.`;
      case 'history':
        return run.record
          ? `Stepping back stops here: a run keeps its last ${HISTORY_STEPS} steps.`
          : NOT_RECORDED;
      default:
        return `Stopped: ${next}.`;
    }
  }

  function stopped({ reason, state }) {
    run.previous = run.state ?? run.previous;
    run.state = state;
    output.show();
    showViews(state, run.previous);
    showNextLine(view(), state.line);
    showQueue();
    setRunState(reason === 'input' ? 'waiting' : state.ended ? 'ended' : 'paused');
    const notes = state.notes.map((note) => ` ${decode(note)}.`).join('');
    setStatus(stopText(reason, state) + notes);
    if (reason === 'input') field.focus();
  }

  function ended({ reason, steps: count }) {
    output.show();
    run = null;
    showNextLine(view(), 0);
    showViews(null, null);
    setRunState('idle');
    showQueue();
    if (reason === 'refused') setStatus('tarnel stops at these errors: nothing ran.');
    else if (!stoppedByEdit) setStatus(`Stopped after ${steps(count)}.`);
    stoppedByEdit = false;
  }

  toolchain.onRun((event) => {
    switch (event.kind) {
      case 'console':
        output.setConsole(event.text);
        break;
      case 'output':
        output.add(event);
        break;
      case 'progress':
        if (runState === 'running' && performance.now() >= hintUntil) {
          setStatus(`Running: ${steps(event.steps)} so far.`);
        }
        break;
      case 'breakpoints': {
        placeBreakpoints(view(), event.placed);
        const gone = event.placed.filter(([, at]) => at === 0).map(([line]) => line);
        if (gone.length > 0) setStatus(`No instruction follows line ${gone.join(', ')}: that breakpoint is removed.`);
        break;
      }
      case 'state':
        if (run) {
          run.state = event.state;
          showQueue();
        }
        break;
      case 'stopped':
        stopped(event);
        break;
      case 'ended':
        ended(event);
        break;
      default:
        break;
    }
  });

  for (const [name, button] of Object.entries(buttons)) button.addEventListener('click', () => act[name]());
  $('#send-input').addEventListener('click', () => {
    sendLine();
    field.focus();
  });
  $('#end-input').addEventListener('click', endInput);
  field.addEventListener('keydown', (event) => {
    if (event.key === 'Enter' && !event.shiftKey && !event.ctrlKey && !event.altKey && !event.metaKey) {
      event.preventDefault();
      sendLine();
    } else if (event.key === 'd' && event.ctrlKey && !event.shiftKey && !event.altKey) {
      event.preventDefault();
      endInput();
    } else if ((event.key === 'ArrowUp' || event.key === 'ArrowDown') && !event.shiftKey && !field.value.includes('\n')) {
      if (recall(event.key === 'ArrowUp' ? -1 : 1)) event.preventDefault();
    }
  });

  // The desktop editor's keys, where the browser lets the page have them.
  function onKey(event) {
    if (event.ctrlKey || event.altKey || event.metaKey) {
      if (event.key === 'Enter' && event.ctrlKey && !buttons.run.disabled) {
        event.preventDefault();
        act.run();
        return true;
      }
      return false;
    }
    const key = `${event.shiftKey ? 'Shift+' : ''}${event.key}`;
    const command = {
      F5: { paused: 'continue', idle: 'run', ended: 'run' }[runState],
      'Shift+F5': 'stop',
      F10: 'step',
      'Shift+F10': 'stepBack',
      F9: 'breakpoint',
    }[key];
    if (key !== 'F5' && key !== 'Shift+F5' && key !== 'F10' && key !== 'Shift+F10' && key !== 'F9') return false;
    event.preventDefault();
    if (!command) return true;
    if (command === 'stepBack' && run && !run.record) act.stepBack();
    else if (!buttons[command].disabled) act[command]();
    return true;
  }

  return {
    onKey,
    // A hint that the running count does not replace at once.
    hint(text) {
      hintUntil = performance.now() + 4000;
      setStatus(text);
    },
    // The text changed (the learner's typing while the program has ended,
    // or a program loaded while it runs): the run is over.
    textChanged() {
      if (runState === 'idle') return;
      stoppedByEdit = true;
      toolchain.send('stop');
    },
    breakpointsChanged() {
      if (run) toolchain.setBreakpoints(breakpointLines(view().state));
    },
    reset() {
      setRunState('idle');
      showQueue();
    },
  };
}
