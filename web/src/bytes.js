// Text and bytes. The page holds a program as a JavaScript string; the
// toolchain reads the bytes of a file. Between the two travels a "byte
// string": one character per byte, codes 0 to 255, which is how the module
// takes and gives every text.
//
// A program is kept in the encoding its file came in: UTF-8, or Latin-1 for
// a file that is not valid UTF-8 (as the desktop editor does).

const CHUNK = 8192;

export function byteStringFromArray(bytes) {
  let text = '';
  for (let at = 0; at < bytes.length; at += CHUNK) {
    text += String.fromCharCode.apply(null, bytes.subarray(at, at + CHUNK));
  }
  return text;
}

export function arrayFromByteString(text) {
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
  return bytes;
}

// "utf-8" when bytes are valid UTF-8, else "latin1".
export function detectEncoding(bytes) {
  try {
    new TextDecoder('utf-8', { fatal: true }).decode(bytes);
    return 'utf-8';
  } catch {
    return 'latin1';
  }
}

// The encoding text can be saved in: Latin-1 only while every character
// fits in a byte.
export function encodingFor(text, preferred) {
  return preferred === 'latin1' && !/[^\u0000-\u00ff]/.test(text) ? 'latin1' : 'utf-8';
}

export function encodeText(text, encoding) {
  if (encoding === 'latin1') return text;
  return byteStringFromArray(new TextEncoder().encode(text));
}

export function decodeBytes(byteString, encoding) {
  if (encoding === 'latin1') return byteString;
  return new TextDecoder('utf-8').decode(arrayFromByteString(byteString));
}

// Decodes a stream of byte strings piece by piece: a UTF-8 character cut
// between two pieces comes out whole with the second.
export class ByteStringDecoder {
  constructor(encoding) {
    this.encoding = encoding;
    this.decoder = encoding === 'latin1' ? null : new TextDecoder('utf-8');
  }
  decode(byteString) {
    if (!this.decoder) return byteString;
    return this.decoder.decode(arrayFromByteString(byteString), { stream: true });
  }
}

// The index in line (a JavaScript string) of the character at which a
// byte column counted from 1 begins, as the checker counts columns; the end
// of the line when the column lies beyond it.
export function charIndexOfByteColumn(line, column, encoding) {
  const wanted = column - 1;
  if (encoding === 'latin1') return Math.max(0, Math.min(wanted, line.length));
  let bytes = 0;
  let index = 0;
  while (index < line.length && bytes < wanted) {
    const code = line.codePointAt(index);
    bytes += code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
    index += code >= 0x10000 ? 2 : 1;
  }
  return index;
}

// The bytes a string of the checker's JSON stands for, as a byte string:
// each character in UTF-8, except that a lone low surrogate U+DC80 to
// U+DCFF stands for the one byte 0x80 to 0xFF that was not part of a
// character in the source (how the checker writes such a byte).
export function bytesOfJsonString(text) {
  let bytes = '';
  for (let index = 0; index < text.length; ) {
    const code = text.codePointAt(index);
    index += code >= 0x10000 ? 2 : 1;
    if (code >= 0xdc80 && code <= 0xdcff) {
      bytes += String.fromCharCode(code - 0xdc00);
    } else if (code < 0x80) {
      bytes += String.fromCharCode(code);
    } else if (code < 0x800) {
      bytes += String.fromCharCode(0xc0 | (code >> 6), 0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
      bytes += String.fromCharCode(0xe0 | (code >> 12), 0x80 | ((code >> 6) & 0x3f), 0x80 | (code & 0x3f));
    } else {
      bytes += String.fromCharCode(0xf0 | (code >> 18), 0x80 | ((code >> 12) & 0x3f),
        0x80 | ((code >> 6) & 0x3f), 0x80 | (code & 0x3f));
    }
  }
  return bytes;
}
