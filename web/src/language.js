// The language's colouring, by the rules the translators read a line by
// (the desktop editor colours by the same): a semicolon starts a comment
// even between double quotes, quotes have no escape character, a line with
// a colon outside quotes is a label (":=" is a declaration's value), and a
// word is a mnemonic or a keyword only as a whole word, in any case.
import { StreamLanguage, HighlightStyle, syntaxHighlighting } from '@codemirror/language';
import { tags } from '@lezer/highlight';
import mnemonics from 'tarnel:mnemonics';

const MNEMONICS = new Set(mnemonics);
const KEYWORDS = new Set(['kiv', 'var', 'begin', 'var$', 'var&', 'var#']);
const WORD_CHAR = /[\p{L}\p{N}_$&#]/u;

// One kind per character of line: "plain", "mnemonic", "keyword", "label",
// "string" or "comment".
export function classifyLine(line) {
  const comment = line.indexOf(';');
  const end = comment < 0 ? line.length : comment;
  const kinds = new Array(line.length).fill('plain');
  kinds.fill('comment', end);
  let colon = -1;
  let quoted = false;
  for (let i = 0; i < end; ++i) {
    if (line[i] === '"') {
      quoted = !quoted;
      kinds[i] = 'string';
    } else if (quoted) {
      kinds[i] = 'string';
    } else if (line[i] === ':' && colon < 0 && (i + 1 >= end || line[i + 1] !== '=')) {
      colon = i;
    }
  }
  if (colon >= 0) {
    kinds.fill('label', 0, colon + 1);
    return kinds;
  }
  for (let i = 0; i < end;) {
    if (kinds[i] !== 'plain' || !WORD_CHAR.test(line[i])) {
      ++i;
      continue;
    }
    let wordEnd = i;
    while (wordEnd < end && kinds[wordEnd] === 'plain' && WORD_CHAR.test(line[wordEnd])) ++wordEnd;
    const word = line.slice(i, wordEnd).toLowerCase();
    if (MNEMONICS.has(word)) kinds.fill('mnemonic', i, wordEnd);
    else if (KEYWORDS.has(word)) kinds.fill('keyword', i, wordEnd);
    i = wordEnd;
  }
  return kinds;
}

const TOKEN_OF_KIND = {
  mnemonic: 'mnemonic',
  keyword: 'keyword',
  label: 'labelName',
  string: 'string',
  comment: 'comment',
};

export const tarnelLanguage = StreamLanguage.define({
  name: 'tarnel',
  startState: () => ({ kinds: [] }),
  token(stream, state) {
    if (stream.sol()) state.kinds = classifyLine(stream.string);
    const kind = state.kinds[stream.pos];
    do {
      stream.next();
    } while (!stream.eol() && state.kinds[stream.pos] === kind);
    return TOKEN_OF_KIND[kind] ?? null;
  },
  tokenTable: { mnemonic: tags.operatorKeyword },
  languageData: { commentTokens: { line: ';' } },
});

// The desktop editor's colours, all dark enough to read on white.
const tarnelColours = HighlightStyle.define([
  { tag: tags.operatorKeyword, color: '#0000c0' },
  { tag: tags.labelName, color: '#800080' },
  { tag: tags.keyword, color: '#000080', fontWeight: 'bold' },
  { tag: tags.string, color: '#a00000' },
  { tag: tags.comment, color: '#007000' },
]);

export function tarnel() {
  return [tarnelLanguage, syntaxHighlighting(tarnelColours)];
}
