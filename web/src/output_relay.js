// The program's output on its way from the worker's session to the page:
// what the session wrote since the last report, bounded to its end, and
// how far stepping back took the output that the page already shows.
//
// Positions count the bytes of the program's whole output in this run.
// `shown` is where the page's output ends; `end` where it will end once
// the page has taken `pending`; a gap lies between them when output was
// left out to keep `pending` within its bound.
export class OutputRelay {
  constructor(tail) {
    this.tail = tail;
    this.pending = '';
    this.end = 0;
    this.shown = 0;
    this.cutTo = undefined;
    this.gap = false;
  }

  // text: what the session wrote since the last call; length: its output
  // length now, which stepping back lowers. text ends at length: when it
  // begins before the end of the output as last collected, stepping back
  // took output back before it was written.
  collect(text, length) {
    this.cutBackTo(length - text.length);
    this.pending += text;
    this.end = length;
    if (this.pending.length > this.tail) {
      this.pending = this.pending.slice(this.pending.length - this.tail);
      this.gap = true;
    }
  }

  cutBackTo(length) {
    if (length >= this.end) return;
    const pendingStart = this.end - this.pending.length;
    if (length >= pendingStart) {
      this.pending = this.pending.slice(0, length - pendingStart);
    } else {
      this.pending = '';
      if (length < this.shown) {
        this.cutTo = length;
        this.shown = length;
        this.gap = false;
      }
    }
    this.end = length;
  }

  // The report for the page, or null when nothing changed since the last
  // one: {text, at, cutTo, gap}: the page cuts its output back to cutTo
  // (when given), leaves out what it has when gap is true, then appends
  // text, which begins at position at.
  take() {
    if (this.pending === '' && this.cutTo === undefined && !this.gap) return null;
    const at = this.end - this.pending.length;
    const report = { text: this.pending, at, cutTo: this.cutTo, gap: this.gap };
    this.shown = this.end;
    this.pending = '';
    this.cutTo = undefined;
    this.gap = false;
    return report;
  }
}
