// The program editor: CodeMirror with the language's colouring, the
// checker's diagnostics as marks and the debugger's breakpoints and next
// line, each an extension over one state.
import { EditorState, Transaction } from '@codemirror/state';
import {
  EditorView,
  keymap,
  lineNumbers,
  highlightActiveLineGutter,
  highlightSpecialChars,
  drawSelection,
  highlightActiveLine,
} from '@codemirror/view';
import { defaultKeymap, history, historyKeymap, isolateHistory } from '@codemirror/commands';
import { searchKeymap, highlightSelectionMatches } from '@codemirror/search';
import { linter, lintGutter, lintKeymap } from '@codemirror/lint';
import { tarnel } from './language.js';
import { debugging } from './debugging.js';
import { charIndexOfByteColumn } from './bytes.js';
import { changeBetween } from './text_change.js';

const SEVERITY = { error: 'error', warning: 'warning', note: 'info' };

// The document position of a place the checker names: a line counted from
// 1 and a byte column counted from 1, held inside the document.
function positionOf(doc, line, column, encoding) {
  if (line < 1) return 0;
  if (line > doc.lines) return doc.length;
  const text = doc.line(line);
  return text.from + charIndexOfByteColumn(text.text, column, encoding);
}

function rangeOf(doc, place, encoding) {
  const from = positionOf(doc, place.line, place.column, encoding);
  const to = positionOf(doc, place.line, place.column + Math.max(1, place.length), encoding);
  return { from, to: Math.max(from, to) };
}

// The checker's diagnostics as CodeMirror's: each with its message, the
// notes that explain it and its fix-its as quick fixes, and each note's
// place marked as well. makeFix(diagnostic, fix, view) makes the fix-it
// numbered fix of the diagnostic numbered diagnostic (both from 0, in the
// checker's order).
export function marksOf(doc, diagnostics, encoding, makeFix = () => {}) {
  const marks = [];
  diagnostics.forEach((found, index) => {
    const notes = found.notes.map((note) => `line ${note.line}: note: ${note.message}`);
    marks.push({
      ...rangeOf(doc, found, encoding),
      severity: SEVERITY[found.severity] ?? 'info',
      source: found.severity,
      message: [found.message, ...notes].join('\n'),
      // As tarnel_check's report names them: a safe fix is a fix, what
      // may change the program's meaning a suggestion.
      actions: (found.fixes ?? []).map((fix, fixIndex) => ({
        name: `${fix.safe ? 'Fix' : 'Suggestion'}: ${fix.description}`,
        apply: (view) => makeFix(index, fixIndex, view),
      })),
    });
    for (const note of found.notes) {
      marks.push({
        ...rangeOf(doc, note, encoding),
        severity: 'info',
        source: 'note',
        message: note.message,
      });
    }
  });
  return marks;
}

// check(text) gives the checker's diagnostics of the text; fix(text,
// diagnostic, fix) the text with one of their fix-its made (null when it
// cannot be made); encoding() the encoding their byte columns count in;
// onToggleBreakpoint() is called when the learner sets or removes a
// breakpoint, onBlockedEdit() when typing or a quick fix meets the text
// made read-only by a run, onStaleFix() when a quick fix was chosen for a
// text that has changed since it was checked.
export function createEditor({
  parent, text, check, fix, encoding, onChange, onToggleBreakpoint, onBlockedEdit, onStaleFix,
}) {
  // A quick fix is made by the checker on the text its diagnostics belong
  // to, and lands as one change, which one undo takes back.
  async function makeFix(checked, diagnostic, fixIndex, view) {
    if (view.state.readOnly) {
      onBlockedEdit();
      return;
    }
    const fixed = view.state.doc.toString() === checked ? await fix(checked, diagnostic, fixIndex) : null;
    if (view.state.doc.toString() !== checked) {
      onStaleFix();
      return;
    }
    if (fixed === null || view.state.readOnly) return;
    view.dispatch({
      changes: changeBetween(checked, fixed),
      annotations: [isolateHistory.of('full'), Transaction.userEvent.of('input.fix')],
      scrollIntoView: true,
    });
    view.focus();
  }
  const checker = linter(
    async (view) => {
      const doc = view.state.doc;
      const checked = doc.toString();
      const found = await check(checked);
      return marksOf(doc, found, encoding(), (diagnostic, fixIndex, target) =>
        makeFix(checked, diagnostic, fixIndex, target));
    },
    { delay: 300 },
  );
  return new EditorView({
    parent,
    state: EditorState.create({
      doc: text,
      extensions: [
        debugging({ onToggle: onToggleBreakpoint, onBlockedEdit }),
        lineNumbers(),
        highlightActiveLineGutter(),
        highlightSpecialChars(),
        history(),
        drawSelection(),
        highlightActiveLine(),
        highlightSelectionMatches({ wholeWords: true }),
        tarnel(),
        checker,
        lintGutter(),
        // Ctrl+Enter runs the program (the page's key), instead of a blank line.
        keymap.of([...defaultKeymap.filter((binding) => binding.key !== 'Mod-Enter'), ...historyKeymap,
          ...searchKeymap, ...lintKeymap]),
        EditorView.contentAttributes.of({ 'aria-label': 'Program text' }),
        EditorView.updateListener.of((update) => {
          if (update.docChanged) onChange();
        }),
      ],
    }),
  });
}

// Replaces the whole text as one change, which Ctrl+Z takes back.
export function replaceText(view, text) {
  view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text } });
}
