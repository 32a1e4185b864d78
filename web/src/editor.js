// The program editor: CodeMirror with the language's colouring, the
// checker's diagnostics as marks and the debugger's breakpoints and next
// line, each an extension over one state.
import { EditorState } from '@codemirror/state';
import {
  EditorView,
  keymap,
  lineNumbers,
  highlightActiveLineGutter,
  highlightSpecialChars,
  drawSelection,
  highlightActiveLine,
} from '@codemirror/view';
import { defaultKeymap, history, historyKeymap } from '@codemirror/commands';
import { searchKeymap, highlightSelectionMatches } from '@codemirror/search';
import { linter, lintGutter, lintKeymap } from '@codemirror/lint';
import { tarnel } from './language.js';
import { debugging } from './debugging.js';
import { charIndexOfByteColumn } from './bytes.js';

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

// The checker's diagnostics as CodeMirror's: each with its message and the
// notes that explain it, and each note's place marked as well.
export function marksOf(doc, diagnostics, encoding) {
  const marks = [];
  for (const found of diagnostics) {
    const notes = found.notes.map((note) => `line ${note.line}: note: ${note.message}`);
    marks.push({
      ...rangeOf(doc, found, encoding),
      severity: SEVERITY[found.severity] ?? 'info',
      source: found.severity,
      message: [found.message, ...notes].join('\n'),
    });
    for (const note of found.notes) {
      marks.push({
        ...rangeOf(doc, note, encoding),
        severity: 'info',
        source: 'note',
        message: note.message,
      });
    }
  }
  return marks;
}

// check(text) gives the checker's diagnostics of the text; encoding() the
// encoding their byte columns count in; onToggleBreakpoint() is called when
// the learner sets or removes a breakpoint, onBlockedEdit() when typing
// meets the text made read-only by a run.
export function createEditor({ parent, text, check, encoding, onChange, onToggleBreakpoint, onBlockedEdit }) {
  const checker = linter(
    async (view) => {
      const doc = view.state.doc;
      const found = await check(doc.toString());
      return marksOf(doc, found, encoding());
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
        highlightSelectionMatches(),
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
