// Mi casa's rooms, kept on this device only, in the browser's storage as one
// versioned document (home-document.js). Every change is made to what is
// stored now, which another tab may have written, and comes back as what
// undoes it.
import { cleanName, homeDocument, mostRooms, roomsOf, sameName } from './home-document.js';

const storageKey = 'klimora.mi-casa';

// Where the rooms are kept: 'guardada' in storage; 'sin-almacen' where the
// browser refuses storage, and 'mas-nueva' where it holds a later version's
// document, never written over: the rooms then live in this page alone.
let rooms = [];
// The fragment the home's price of the kWh was saved with; '' for none.
let price = '';
export const homePrice = () => price;
let keptIn = 'guardada';
export const whereKept = () => keptIn;

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
  // A later version's rooms stay for it; this page's are out of date.
  keptIn = stored.why === 'otra-version' ? 'mas-nueva' : 'guardada';
  if (stored.why === 'no-es-copia') setAside(text);
  rooms = stored.rooms ?? [];
  price = stored.price ?? '';
  return rooms;
}

// What no version can read is kept apart, whole, and Mi casa starts afresh.
let damaged = false;
export const setAsideDamaged = () => damaged;
function setAside(text) {
  try {
    storage().setItem(`${storageKey}.danada`, text);
    storage().removeItem(storageKey);
    damaged = true;
  } catch {
    keptIn = 'sin-almacen';
  }
}

function write(list) {
  rooms = list;
  if (keptIn !== 'guardada') return;
  try {
    storage().setItem(storageKey, JSON.stringify(homeDocument(rooms, price)));
  } catch {
    keptIn = 'sin-almacen';
  }
}

export const currentRooms = read;

// Puts the rooms in, each replacing the room of its name, and sets the home's
// price (kept as it is unless given). Gives what was added and replaced and
// what undoes it, or why nothing changed: 'llena' past the most rooms,
// 'mas-nueva' while a later version's document is stored.
export function putRooms(added, given) {
  const next = [...read()];
  if (keptIn === 'mas-nueva') return { why: 'mas-nueva' };
  const newPrice = given ?? price;
  const changes = added.map((room) => {
    const at = next.findIndex(({ nombre }) => sameName(nombre, room.nombre));
    const before = next[at] ?? null;
    if (before) next[at] = room;
    else next.push(room);
    return { name: room.nombre, before, at: at < 0 ? next.length - 1 : at, after: room, prices: [price, newPrice] };
  });
  if (next.length > mostRooms) return { why: 'llena' };
  price = newPrice;
  write(next);
  return { replaced: changes.filter(({ before }) => before).length, changes };
}

export function removeRoom(name) {
  const list = read();
  const at = list.findIndex(({ nombre }) => nombre === name);
  if (at < 0 || keptIn === 'mas-nueva') return null;
  // An empty home has no price: the next room's sets it.
  const prices = [price, list.length === 1 ? '' : price];
  price = prices[1];
  write(list.filter((_, index) => index !== at));
  return [{ name, before: list[at], at, after: null, next: list[at + 1]?.nombre, prices }];
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
  for (const { name, before, at, next: neighbour } of [...changes].reverse()) {
    const now = next.findIndex(({ nombre }) => sameName(nombre, name));
    // Before the room it was before, wherever another tab has moved it.
    const place = neighbour === undefined ? -1 : next.findIndex(({ nombre }) => nombre === neighbour);
    if (now < 0) next.splice(place < 0 ? Math.min(at, next.length) : place, 0, before);
    else if (before) next[now] = before;
    else next.splice(now, 1);
  }
  if (next.length > mostRooms) return { why: 'llena' };
  // The price comes back too, unless it has changed since.
  const [before, after] = changes[0]?.prices ?? [price, price];
  if (price === after) price = before;
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
