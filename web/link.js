// A calculation as a link: its answers and separator after "#", which no
// browser sends to a server. Readable, and versioned so that later versions
// still read these:
//
//     #v=1&sep=coma&atico=si&largo=4&ancho=5&puertas=3&paredes=9&soleada=si&personas=2&aparatos=si
const version = 'v=1';
const separators = { coma: ',', punto: '.' };
// Far longer than the answers a person types, and far shorter than a hostile link.
const longestLink = 2000;

// A comma needs no escape in a fragment, and reads better as it is.
const escaped = (text) => encodeURIComponent(text).replaceAll('%2C', ',');

export function linkTo(values, separator) {
  const sep = separator === ',' ? 'coma' : 'punto';
  const fields = [version, `sep=${sep}`, ...values.map(([name, value]) => `${name}=${escaped(value)}`)];
  return `${location.origin}${location.pathname}#${fields.join('&')}`;
}

function decoded(text) {
  try {
    return decodeURIComponent(text);
  } catch {
    return null; // badly percent-encoded
  }
}

// What a fragment holds: { values, separator, whole }, whole false when some
// of it could not be read; null for a fragment that is no Klimora link (no
// "v=" in it), which is the page's own business.
export function readLink(fragment) {
  const text = fragment.replace(/^#/, '');
  const fields = text.split('&');
  if (!fields.some((field) => field.startsWith('v='))) return null;
  if (text.length > longestLink || !fields.includes(version)) return { values: [], separator: null, whole: false };
  const values = [];
  let separator = null;
  let whole = true;
  const seen = new Set();
  for (const field of fields.filter((each) => each !== version)) {
    const at = field.indexOf('=');
    const name = field.slice(0, at);
    const value = at > 0 ? decoded(field.slice(at + 1)) : null;
    if (value === null || seen.has(name)) {
      whole = false;
      continue;
    }
    seen.add(name);
    if (name !== 'sep') values.push([name, value]);
    else if (Object.hasOwn(separators, value)) separator = separators[value];
    else whole = false;
  }
  return { values, separator, whole };
}
