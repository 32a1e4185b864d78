// The editor's side of debugging, as extensions over its state: breakpoints
// as dots in a gutter of their own (a click toggles one, and they move with
// the text), the line of the next instruction highlighted, and the text
// made read-only while a run is being debugged, so that its lines stay
// true.
import { Compartment, EditorState, RangeSet, StateEffect, StateField } from '@codemirror/state';
import { Decoration, EditorView, GutterMarker, gutter } from '@codemirror/view';

class BreakpointMarker extends GutterMarker {
  toDOM() {
    const dot = document.createElement('span');
    dot.className = 'cm-breakpoint-dot';
    dot.textContent = '●';
    return dot;
  }
}
const breakpointMarker = new BreakpointMarker();

// {line, on}: the learner set or removed the breakpoint of a line.
const toggleBreakpointEffect = StateEffect.define();
// [from, to] line pairs: the run stops at another line than the one given.
const moveBreakpointsEffect = StateEffect.define();

function withLine(set, doc, line, on) {
  const from = doc.line(line).from;
  const without = set.update({ filter: (start) => doc.lineAt(start).number !== line });
  return on ? without.update({ add: [breakpointMarker.range(from)] }) : without;
}

const breakpointField = StateField.define({
  create: () => RangeSet.empty,
  update(set, transaction) {
    let marks = set.map(transaction.changes);
    const { doc } = transaction.state;
    for (const effect of transaction.effects) {
      if (effect.is(toggleBreakpointEffect)) {
        marks = withLine(marks, doc, effect.value.line, effect.value.on);
      } else if (effect.is(moveBreakpointsEffect)) {
        for (const [from, to] of effect.value) {
          if (from >= 1 && from <= doc.lines) marks = withLine(marks, doc, from, false);
          if (to >= 1 && to <= doc.lines) marks = withLine(marks, doc, to, true);
        }
      }
    }
    return marks;
  },
});

// The lines that hold a breakpoint, in order, each once.
export function breakpointLines(state) {
  const lines = new Set();
  const cursor = state.field(breakpointField).iter();
  for (; cursor.value; cursor.next()) lines.add(state.doc.lineAt(cursor.from).number);
  return [...lines].sort((a, b) => a - b);
}

// Sets or removes the breakpoint of line (the cursor's line by default).
export function toggleBreakpoint(view, line = view.state.doc.lineAt(view.state.selection.main.head).number) {
  const on = !breakpointLines(view.state).includes(line);
  view.dispatch({ effects: toggleBreakpointEffect.of({ line, on }) });
  return on;
}

// Moves breakpoints to the lines the run stops at: [line, at] pairs, at 0
// when the run stops nowhere at or after line (the breakpoint goes).
export function placeBreakpoints(view, placed) {
  const moves = placed.filter(([line, at]) => line !== at);
  if (moves.length > 0) view.dispatch({ effects: moveBreakpointsEffect.of(moves) });
}

const nextLineEffect = StateEffect.define();
const nextLineDecoration = Decoration.line({ class: 'cm-next-line' });

const nextLineField = StateField.define({
  create: () => Decoration.none,
  update(decorations, transaction) {
    let marks = decorations.map(transaction.changes);
    for (const effect of transaction.effects) {
      if (!effect.is(nextLineEffect)) continue;
      const line = effect.value;
      const { doc } = transaction.state;
      marks = line >= 1 && line <= doc.lines
        ? Decoration.set([nextLineDecoration.range(doc.line(line).from)])
        : Decoration.none;
    }
    return marks;
  },
  provide: (field) => EditorView.decorations.from(field),
});

// Highlights line as the next to run and scrolls it into view; 0 clears.
export function showNextLine(view, line) {
  const effects = [nextLineEffect.of(line)];
  if (line >= 1 && line <= view.state.doc.lines) {
    effects.push(EditorView.scrollIntoView(view.state.doc.line(line).from, { y: 'nearest' }));
  }
  view.dispatch({ effects });
}

const readOnly = new Compartment();

export function setReadOnly(view, on) {
  view.dispatch({ effects: readOnly.reconfigure(EditorState.readOnly.of(on)) });
}

// The extensions; onToggle() is called after the learner set or removed a
// breakpoint, onBlockedEdit() when typing meets the read-only text.
export function debugging({ onToggle, onBlockedEdit }) {
  return [
    EditorView.domEventHandlers({
      beforeinput(event, view) {
        if (view.state.readOnly) onBlockedEdit();
        return false;
      },
    }),
    breakpointField,
    nextLineField,
    readOnly.of(EditorState.readOnly.of(false)),
    gutter({
      class: 'cm-breakpoint-gutter',
      markers: (view) => view.state.field(breakpointField),
      initialSpacer: () => breakpointMarker,
      domEventHandlers: {
        mousedown(view, line) {
          toggleBreakpoint(view, view.state.doc.lineAt(line.from).number);
          return true;
        },
      },
    }),
    EditorView.updateListener.of((update) => {
      const toggled = update.transactions.some((transaction) =>
        transaction.effects.some((effect) => effect.is(toggleBreakpointEffect)));
      if (toggled) onToggle();
    }),
  ];
}
