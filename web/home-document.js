// Mi casa's document, the one storage keeps and a copy holds: its rooms read,
// each a name and its answers as a link's fragment, which the calculation
// reads in every version, and since version 2 the home's price of the kWh, as
// the fragment it was saved with; and the names as they are kept and compared.
const format = 'klimora-mi-casa';
const version = 2;
export const mostRooms = 100;
export const longestName = 60;
const largestCopy = 1024 * 1024;

export const homeDocument = (list, price) => ({ formato: format, version, precio: price, habitaciones: list });

// A name as it is kept and compared: in NFC, trimmed, and empty when nothing
// in it can be seen.
const unseen = /^[\p{White_Space}\p{Default_Ignorable_Code_Point}\p{Cc}\p{Cf}\u2800]*$/u;
export function cleanName(name) {
  // Embeddings and isolates of its own would undo the isolation it is shown in.
  const clean = name.normalize('NFC').replace(/\p{Cs}/gu, '\uFFFD').replace(/[\u202a-\u202e\u2066-\u2069]/g, '').trim();
  return unseen.test(clean) ? '' : clean;
}
export const nameLength = (name) => [...name].length;

// Version 1 kept no price.
const priceOf = ({ precio }) => (typeof precio === 'string' ? precio : '');

// Names that read the same are the same room's, as earlier versions may
// have stored them.
export const sameName = (one, other) => cleanName(one) === cleanName(other);

// The rooms of a document: { rooms }, or why it is none ({ why }). A copy
// must be sound whole, down to each room's name; else { why, at (from 1),
// name, count, first }. Stored rooms are taken as they were kept.
function documentRooms(parsed, copy) {
  if (parsed?.formato !== format || !Number.isInteger(parsed.version)) return { why: 'no-es-copia' };
  if (parsed.version > version) return { why: 'otra-version' };
  const list = parsed.habitaciones;
  if (parsed.version < 1 || !Array.isArray(list)) return { why: 'no-es-copia' };
  if (!copy) {
    if (!list.every((room) => typeof room?.nombre === 'string')) return { why: 'no-es-copia' };
    const rooms = list.map(({ nombre, respuestas }) => ({ nombre, respuestas: String(respuestas) }));
    return { rooms, price: priceOf(parsed) };
  }
  if (list.length > mostRooms) return { why: 'demasiadas', count: list.length };
  const places = new Map();
  const kept = [];
  for (const [index, room] of list.entries()) {
    const at = index + 1;
    if (typeof room !== 'object') return { why: 'ilegible', at };
    const name = typeof room.nombre === 'string' ? cleanName(room.nombre) : '';
    if (!name) return { why: 'sin-nombre', at };
    if (nameLength(name) > longestName) return { why: 'nombre-largo', at, name };
    if (places.has(name)) return { why: 'repetido', at, name, first: places.get(name) };
    places.set(name, at);
    // A link as a browser keeps it: no raw control character.
    if (typeof room.respuestas !== 'string' || /\p{Cc}/u.test(room.respuestas)) return { why: 'ilegible', at, name };
    kept.push({ nombre: name, respuestas: room.respuestas });
  }
  return { rooms: kept, price: priceOf(parsed) };
}

export function roomsOf(text, copy) {
  try {
    return documentRooms(JSON.parse(text), copy);
  } catch {
    return { why: 'no-es-copia' };
  }
}

export async function readCopy(file) {
  if (file.size > largestCopy) return { why: 'grande' };
  try {
    return roomsOf(await file.text(), true);
  } catch {
    return { why: 'no-es-copia' };
  }
}
