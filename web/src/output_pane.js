// The Output pane: tarnel's error lines, then the program's output as it
// comes, cut back when stepping back takes output back. The pane keeps the
// end of a long output as bytes (so that a cut lands on the byte the
// program's output went back to) and shows the last part of it at most
// every OUTPUT_MS, so that a program printing without end leaves the page
// free to answer.
import { decodeBytes } from './bytes.js';

// Bytes of output kept, and characters shown (some hundreds of lines, as a
// terminal keeps).
const KEPT_BYTES = 128 * 1024;
const SHOWN_CHARS = 30000;
const OUTPUT_MS = 100;
export const LEFT_OUT = '[earlier output left out]\n';

export class OutputPane {
  // keptBytes: how much of the output's end is kept.
  constructor(element, keptBytes = KEPT_BYTES) {
    this.element = element;
    this.keptBytes = keptBytes;
    this.clear('utf-8');
  }

  // A new run: its output is decoded from encoding.
  clear(encoding) {
    this.encoding = encoding;
    this.console = '';
    this.bytes = '';
    // Where this.bytes begins in the program's whole output, and whether
    // output before it was left out.
    this.start = 0;
    this.leftOut = false;
    this.showing = false;
    this.element.textContent = '';
  }

  // tarnel's lines before the program's output.
  setConsole(byteString) {
    this.console = byteString;
    this.schedule();
  }

  // A report of the worker (output_relay.js): cut back to cutTo, a gap,
  // then text, which begins at position at.
  add({ text, at, cutTo, gap }) {
    if (cutTo !== undefined) {
      this.bytes = cutTo >= this.start ? this.bytes.slice(0, cutTo - this.start) : '';
      this.start = Math.min(this.start, cutTo);
    }
    if (gap) {
      this.bytes = '';
      this.start = at;
      this.leftOut = true;
    }
    this.bytes += text;
    if (this.bytes.length > this.keptBytes) {
      const drop = this.bytes.length - this.keptBytes;
      this.bytes = this.bytes.slice(drop);
      this.start += drop;
      this.leftOut = true;
    }
    this.schedule();
  }

  // The text shown: a piece that begins inside a character loses it.
  text() {
    let shown = decodeBytes(this.bytes, this.encoding);
    if (this.leftOut || shown.length > SHOWN_CHARS) {
      shown = LEFT_OUT + shown.slice(Math.max(0, shown.length - SHOWN_CHARS)).replace(/^\uFFFD+/, '');
    }
    return decodeBytes(this.console, this.encoding) + shown;
  }

  schedule() {
    if (this.showing) return;
    this.showing = true;
    setTimeout(() => requestAnimationFrame(() => this.show()), OUTPUT_MS);
  }

  // Shows what came at once (at a stop).
  show() {
    this.showing = false;
    this.element.textContent = this.text();
    this.element.scrollTop = this.element.scrollHeight;
  }
}
