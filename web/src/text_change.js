// What a whole new text changes in the one before it, so that the editor
// keeps its marks, breakpoints and cursor outside the change.

// The smallest change that turns before into after: the text between
// their common start and common end, never splitting a character.
export function changeBetween(before, after) {
  const isHigh = (code) => code >= 0xd800 && code <= 0xdbff;
  const isLow = (code) => code >= 0xdc00 && code <= 0xdfff;
  let start = 0;
  const shorter = Math.min(before.length, after.length);
  while (start < shorter && before.charCodeAt(start) === after.charCodeAt(start)) ++start;
  if (start > 0 && isHigh(before.charCodeAt(start - 1))) --start;
  let end = 0;
  while (end < shorter - start
    && before.charCodeAt(before.length - 1 - end) === after.charCodeAt(after.length - 1 - end)) ++end;
  if (end > 0 && isLow(before.charCodeAt(before.length - end))) --end;
  return { from: start, to: before.length - end, insert: after.slice(start, after.length - end) };
}
