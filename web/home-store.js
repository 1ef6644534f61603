// Mi casa's rooms, kept on this device only: one versioned document in the
// browser's storage, the same one a copy holds. Each room is its name and its
// answers as a link's fragment, which the calculation reads in every version.
// Every change is made to what is stored now, which another tab may have
// written, and comes back as what undoes it.
const storageKey = 'klimora.mi-casa';
const format = 'klimora-mi-casa';
const version = 1;
export const mostRooms = 100;
export const longestName = 60;
const largestCopy = 1024 * 1024;

// Where the rooms are kept: 'guardada' in storage; 'sin-almacen' where the
// browser refuses storage, and 'mas-nueva' where it holds a later version's
// document, never written over: the rooms then live in this page alone.
let rooms = [];
let keptIn = 'guardada';
export const whereKept = () => keptIn;

export const homeDocument = (list = rooms) => ({ formato: format, version, habitaciones: list });

// A name as it is kept and compared: in NFC, trimmed, and empty when nothing
// in it can be seen.
const unseen = /^[\p{White_Space}\p{Default_Ignorable_Code_Point}\p{Cc}\p{Cf}\u2800]*$/u;
export function cleanName(name) {
  const clean = name.normalize('NFC').replace(/\p{Cs}/gu, '\uFFFD').trim();
  return unseen.test(clean) ? '' : clean;
}
export const nameLength = (name) => [...name].length;

// Names that read the same are the same room's, as earlier versions may
// have stored them.
const sameName = (one, other) => cleanName(one) === cleanName(other);

// The rooms of a document: { rooms }, or why it is none ({ why }). A copy
// must be sound whole, down to each room's name; else { why, at (from 1),
// name, count, first }. Stored rooms are taken as they were kept.
function documentRooms(parsed, copy) {
  if (parsed?.formato !== format || !Number.isInteger(parsed.version)) return { why: 'no-es-copia' };
  if (parsed.version > version) return { why: 'otra-version' };
  const list = parsed.habitaciones;
  if (parsed.version < 1 || !Array.isArray(list)) return { why: 'no-es-copia' };
  if (!list.every((room) => typeof room?.nombre === 'string')) return { why: 'no-es-copia' };
  if (!copy) return { rooms: list.map(({ nombre, respuestas }) => ({ nombre, respuestas: String(respuestas) })) };
  if (list.length > mostRooms) return { why: 'demasiadas', count: list.length };
  const places = new Map();
  const kept = [];
  for (const [index, room] of list.entries()) {
    const at = index + 1;
    const name = cleanName(room.nombre);
    if (!name) return { why: 'sin-nombre', at };
    if (nameLength(name) > longestName) return { why: 'nombre-largo', at, name };
    if (places.has(name)) return { why: 'repetido', at, name, first: places.get(name) };
    places.set(name, at);
    // A link as a browser keeps it: no raw control character.
    if (typeof room.respuestas !== 'string' || /\p{Cc}/u.test(room.respuestas)) return { why: 'ilegible', at, name };
    kept.push({ nombre: name, respuestas: room.respuestas });
  }
  return { rooms: kept };
}

function roomsOf(text, copy) {
  try {
    return documentRooms(JSON.parse(text), copy);
  } catch {
    return { why: 'no-es-copia' };
  }
}

export async function readCopy(file) {
  if (file.size > largestCopy) return { why: 'no-es-copia' };
  try {
    return roomsOf(await file.text(), true);
  } catch {
    return { why: 'no-es-copia' };
  }
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
  if (keptIn === 'sin-almacen') return rooms;
  let text;
  try {
    text = storage()?.getItem(storageKey);
  } catch {
    text = undefined;
  }
  if (text === undefined) {
    keptIn = 'sin-almacen';
    return rooms;
  }
  const stored = typeof text === 'string' ? roomsOf(text, false) : { rooms: [] };
  // What this page cannot read, a later version wrote: it stays for that version.
  keptIn = stored.rooms ? 'guardada' : 'mas-nueva';
  if (stored.rooms) rooms = stored.rooms;
  return rooms;
}

function write(list) {
  rooms = list;
  if (keptIn !== 'guardada') return;
  try {
    storage().setItem(storageKey, JSON.stringify(homeDocument()));
  } catch {
    keptIn = 'sin-almacen';
  }
}

export const currentRooms = read;

// Puts the rooms in, each replacing the room of its name. Gives what was
// added and replaced and what undoes it, or why nothing changed: 'llena' past
// the most rooms, 'mas-nueva' while a later version's document is stored.
export function putRooms(added) {
  const next = [...read()];
  if (keptIn === 'mas-nueva') return { why: 'mas-nueva' };
  const changes = added.map((room) => {
    const at = next.findIndex(({ nombre }) => sameName(nombre, room.nombre));
    const before = next[at] ?? null;
    if (before) next[at] = room;
    else next.push(room);
    return { name: room.nombre, before, at: at < 0 ? next.length - 1 : at, after: room };
  });
  if (next.length > mostRooms) return { why: 'llena' };
  write(next);
  return { replaced: changes.filter(({ before }) => before).length, changes };
}

export function removeRoom(name) {
  const list = read();
  const at = list.findIndex(({ nombre }) => nombre === name);
  if (at < 0 || keptIn === 'mas-nueva') return null;
  write(list.filter((_, index) => index !== at));
  return [{ name, before: list[at], at, after: null }];
}

// Puts back what the changes found, every room where it was, or says why it
// cannot: 'cambiada' (with the name) when a room they touched has changed
// since, 'llena' when there is no room for it. Nothing changes then.
export function undoChanges(changes) {
  const next = [...read()];
  if (keptIn === 'mas-nueva') return { why: 'mas-nueva' };
  const changed = changes.find(({ name, after }) =>
    next.find(({ nombre }) => sameName(nombre, name))?.respuestas !== after?.respuestas);
  if (changed) return { why: 'cambiada', name: changed.name };
  for (const { name, before, at } of [...changes].reverse()) {
    const now = next.findIndex(({ nombre }) => sameName(nombre, name));
    if (now < 0) next.splice(Math.min(at, next.length), 0, before);
    else if (before) next[now] = before;
    else next.splice(now, 1);
  }
  if (next.length > mostRooms) return { why: 'llena' };
  write(next);
  return {};
}

// "Habitación N", the first N not in use.
export function freeName() {
  const names = new Set(read().map(({ nombre }) => cleanName(nombre)));
  let number = 1;
  while (names.has(`Habitación ${number}`)) number += 1;
  return `Habitación ${number}`;
}

// Another tab's writing.
export const onStoredElsewhere = (changed) => window.addEventListener('storage', (event) => {
  if (event.key === storageKey || event.key === null) changed();
});

// Asked with the first room and with a copy: where the browser may clear
// storage for room, this keeps Mi casa out of it. A private window's storage
// lasts until it closes, and no browser says which a window is: a refusal,
// with little room, hints at one. True then.
export async function askToKeep() {
  try {
    if (await navigator.storage.persist()) return false;
    const { quota } = await navigator.storage.estimate();
    return quota < 2 ** 30;
  } catch {
    return false;
  }
}
