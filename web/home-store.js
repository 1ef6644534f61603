// Mi casa's rooms, kept on this device only: one versioned document in the
// browser's storage, the same one a copy holds. Each room is its name and its
// answers as a link's fragment, which the calculation reads in every version.
const storageKey = 'klimora.mi-casa';
const format = 'klimora-mi-casa';
const version = 1;
export const mostRooms = 100;
export const longestName = 60;
const largestCopy = 1024 * 1024;

// Where storage is refused, or holds what this page cannot read, the rooms
// live in this page alone.
let rooms = [];
let kept = true;

export const homeDocument = (list = rooms) => ({ formato: format, version, habitaciones: list });

// The rooms of a document, or why it is none: 'otra-version' for a later
// version's, 'no-es-copia' for anything else.
export function roomsOf(text) {
  let parsed;
  try {
    parsed = JSON.parse(text);
  } catch {
    return 'no-es-copia';
  }
  if (parsed?.formato !== format || !Number.isInteger(parsed.version)) return 'no-es-copia';
  if (parsed.version > version) return 'otra-version';
  const list = parsed.habitaciones;
  const isRoom = (room) => typeof room?.nombre === 'string' && room.nombre.trim() === room.nombre &&
    room.nombre.length > 0 && room.nombre.length <= longestName &&
    typeof room.respuestas === 'string' && !/[\0-\x1f]/.test(room.respuestas);
  if (parsed.version < 1 || !Array.isArray(list) || list.length > mostRooms || !list.every(isRoom)) {
    return 'no-es-copia';
  }
  return list.map(({ nombre, respuestas }) => ({ nombre, respuestas }));
}

function storage() {
  try {
    return localStorage;
  } catch {
    return null;
  }
}

// What is stored now: another tab may have written since.
function read() {
  if (!kept) return rooms;
  let text;
  try {
    text = storage()?.getItem(storageKey);
  } catch {
    text = undefined;
  }
  const stored = typeof text === 'string' ? roomsOf(text) : [];
  // A later version's rooms are never written over: they stay for it.
  if (text === undefined || !Array.isArray(stored)) kept = false;
  else rooms = stored;
  return rooms;
}

function write(list) {
  rooms = list;
  if (!kept) return;
  try {
    storage().setItem(storageKey, JSON.stringify(homeDocument()));
  } catch {
    kept = false;
  }
}

export const currentRooms = read;
// False once the rooms can last only as long as this page (known after a read).
export const lasting = () => kept;

// The list with each room put in, a room of the same name replaced; null
// past the most rooms. Counts what was added and replaced.
function merged(list, added) {
  const next = [...list];
  const counts = { added: 0, replaced: 0 };
  for (const room of added) {
    const at = next.findIndex(({ nombre }) => nombre === room.nombre);
    if (at >= 0) {
      next[at] = room;
      counts.replaced += 1;
    } else {
      next.push(room);
      counts.added += 1;
    }
  }
  return next.length > mostRooms ? null : { next, counts };
}

// Merges the rooms into what is stored; the counts, or null when too many.
export function putRooms(added) {
  const result = merged(read(), added);
  if (!result) return null;
  write(result.next);
  return result.counts;
}

export function removeRoom(name) {
  const list = read();
  const at = list.findIndex(({ nombre }) => nombre === name);
  if (at >= 0) write(list.filter((_, index) => index !== at));
  return at;
}

// Back where it was, unless a room of its name has come since.
export function restoreRoom(room, at) {
  const list = read();
  if (list.some(({ nombre }) => nombre === room.nombre) || list.length >= mostRooms) return;
  write([...list.slice(0, at), room, ...list.slice(at)]);
}

// "Habitación N", the first N not in use.
export function freeName() {
  const names = new Set(read().map(({ nombre }) => nombre));
  let number = 1;
  while (names.has(`Habitación ${number}`)) number += 1;
  return `Habitación ${number}`;
}

export async function readCopy(file) {
  if (file.size > largestCopy) return 'no-es-copia';
  try {
    return roomsOf(await file.text());
  } catch {
    return 'no-es-copia';
  }
}

// Another tab's writing.
export const onStoredElsewhere = (changed) => window.addEventListener('storage', (event) => {
  if (event.key === storageKey || event.key === null) changed();
});

// Asked once, with the first room: where the browser may clear storage for
// room, this keeps Mi casa out of it.
export function askToKeep() {
  navigator.storage?.persist?.().catch(() => {});
}
