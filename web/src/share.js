// Share links: the program travels in the URL's fragment, which browsers
// never send to the server, as "#code=" and its UTF-8 bytes compressed
// with raw DEFLATE (the browser's CompressionStream) in base64url.

const PREFIX = 'code=';
// A link unpacks to at most this many bytes: far beyond a program written
// by hand, and a guard against a small link that unpacks without end.
export const MAX_SHARED_BYTES = 4 * 1024 * 1024;

// The bytes through a compression stream; null past limit bytes.
async function throughStream(bytes, stream, limit = Infinity) {
  const reader = new Blob([bytes]).stream().pipeThrough(stream).getReader();
  const pieces = [];
  let length = 0;
  for (;;) {
    const { done, value } = await reader.read();
    if (done) break;
    length += value.length;
    if (length > limit) {
      await reader.cancel();
      return null;
    }
    pieces.push(value);
  }
  const whole = new Uint8Array(length);
  let at = 0;
  for (const piece of pieces) {
    whole.set(piece, at);
    at += piece.length;
  }
  return whole;
}

function toBase64Url(bytes) {
  let binary = '';
  for (let at = 0; at < bytes.length; at += 8192) {
    binary += String.fromCharCode.apply(null, bytes.subarray(at, at + 8192));
  }
  return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function fromBase64Url(text) {
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
  return bytes;
}

// The fragment, without its "#", that holds text.
export async function fragmentFor(text) {
  const packed = await throughStream(new TextEncoder().encode(text), new CompressionStream('deflate-raw'));
  return PREFIX + toBase64Url(packed);
}

// The program a fragment holds (with or without its "#"); null when it holds
// none, cannot be read or unpacks to more than MAX_SHARED_BYTES.
export async function textFromFragment(fragment) {
  const body = fragment.replace(/^#/, '');
  if (!body.startsWith(PREFIX)) return null;
  try {
    const bytes = await throughStream(fromBase64Url(body.slice(PREFIX.length)),
      new DecompressionStream('deflate-raw'), MAX_SHARED_BYTES);
    if (bytes === null) return null;
    return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    return null;
  }
}
