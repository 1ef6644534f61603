// Mi casa on the page: saving the room on screen, the list of rooms with the
// home's figures, opening and deleting a room, and undoing a change. Every
// figure comes from the calculation; its copies are home-copies.js.
import { announce } from './announce.js';
import { homeFigures } from './calculation.js';
import { loadCalculator } from './calculation-loader.js';
import { cleanName, longestName, mostRooms, nameLength } from './home-document.js';
import {
  askToKeep, currentRooms, freeName, homePrice, onStoredElsewhere, putRooms, removeRoom, setAsideDamaged, undoChanges,
  whereKept,
} from './home-store.js';
import { openAnswers } from './link.js';
import { element, isCurrent, shownLink } from './result.js';
import { currentSeparator } from './separator.js';

const section = document.getElementById('mi-casa');
const list = document.getElementById('habitaciones');
const nameBox = document.getElementById('nombre-habitacion');
const saved = document.getElementById('guardado');
const removed = document.getElementById('borrada');
const undoButton = document.getElementById('deshacer');
const note = document.getElementById('nota-casa');
const usualNote = note.textContent;
const keepACopy = 'Guarde una copia con «Descargar copia».';
export const notes = {
  'sin-almacen': `Este navegador no deja guardar datos: Mi casa se perderá al cerrar la página. ${keepACopy}`,
  'mas-nueva': 'Mi casa la guardó una versión más nueva de Klimora, y esta no puede cambiarla. Vuelva a cargar la página para usar esa versión.',
  privada: `Si esta es una ventana privada, Mi casa se borrará al cerrarla. ${keepACopy}`,
  danada: 'Lo que este navegador guardaba de Mi casa estaba dañado y no se podía leer: se ha apartado sin borrarlo, y Mi casa empieza de nuevo.',
};
let mayBePrivate = false;

// A name in any script, or holding bidi controls, never moves the words
// around it: isolated in plain text as <bdi> isolates it in the page.
const isolated = (name) => `\u2068${name.replace(/[\u202a-\u202e\u2066-\u2069]/g, '')}\u2069`;
export const quoted = (name) => `«${isolated(nameLength(name) > longestName ? `${[...name].slice(0, longestName).join('')}…` : name)}»`;

function button(text, name, action) {
  const control = element('button', text, 'secundario');
  control.type = 'button';
  control.setAttribute('aria-label', `${text} ${isolated(name)}`);
  control.addEventListener('click', action);
  return control;
}

// Gives the focus to the list's button of that accessible name; false for none.
function focusListButton(name) {
  const found = [...list.querySelectorAll('button')].find((control) => control.getAttribute('aria-label') === name);
  found?.focus();
  return Boolean(found);
}

export async function keep() {
  mayBePrivate ||= await askToKeep();
  showNote();
}

function showNote() {
  const where = whereKept();
  const said = notes[where] ?? (setAsideDamaged() ? notes.danada : null);
  note.textContent = said ?? (mayBePrivate ? notes.privada : usualNote);
  document.getElementById('descargar').hidden = where === 'mas-nueva';
}

async function openRoom(room) {
  const calc = await loadCalculator().catch(() => null);
  if (!calc || !openAnswers(calc, room.respuestas)) return;
  nameBox.value = room.nombre;
  document.getElementById('resultado').scrollIntoView({ block: 'center' });
}

// One change at a time can be undone, from beside the message that told of it.
let undo = null;
let undoTimer = 0;
function closeUndo() {
  clearTimeout(undoTimer);
  undo = null;
  undoButton.hidden = true;
}

function endUndo() {
  // Not while the person is on it.
  if (document.activeElement === undoButton) {
    undoTimer = setTimeout(endUndo, 20000);
    return;
  }
  closeUndo();
}

export function offerUndo(changes, status, done) {
  undo = { changes, status, done };
  status.after(undoButton);
  undoButton.hidden = false;
  clearTimeout(undoTimer);
  undoTimer = setTimeout(endUndo, 20000);
}

const undone = {
  borrada: (name) => `${quoted(name)} ha vuelto a Mi casa.`,
  reemplazada: (name) => `${quoted(name)} vuelve a tener sus respuestas de antes.`,
  carga: () => 'Copia deshecha: Mi casa está como antes de cargarla.',
};
const notUndone = {
  cambiada: ({ name }) => `No se puede deshacer: ${quoted(name)} ha cambiado en Mi casa desde entonces.`,
  llena: () => `No se puede deshacer: Mi casa ya tiene ${mostRooms} habitaciones.`,
  'mas-nueva': () => notes['mas-nueva'],
};

async function undoLast() {
  if (!undo) return;
  const { changes, status, done } = undo;
  closeUndo();
  const refusal = undoChanges(changes);
  await showHome();
  if (refusal.why) {
    announce(status, notUndone[refusal.why](refusal));
    status.focus();
    return;
  }
  announce(status, undone[done](changes[0].name));
  // Its button had the focus: the room back has it now, or else the message.
  const back = changes.find(({ before }) => before);
  if (!back || !focusListButton(`Abrir ${isolated(back.before.nombre)}`)) status.focus();
}

function removeAndOfferUndo(room) {
  const changes = removeRoom(room.nombre);
  showHome();
  if (!changes) {
    if (whereKept() === 'mas-nueva') announce(removed, notes['mas-nueva']);
    return;
  }
  announce(removed, `${quoted(room.nombre)} borrada de Mi casa.`);
  offerUndo(changes, removed, 'borrada');
  undoButton.focus();
}

function roomItem(room, figures) {
  const item = element('li', '');
  const name = element('strong', '');
  name.append(element('bdi', cleanName(room.nombre)));
  item.append(name, element('span', figures?.total ?? ''), element('span', figures?.unit ?? ''));
  const actions = element('span', '', 'acciones');
  actions.append(button('Abrir', room.nombre, () => openRoom(room)),
    button('Borrar', room.nombre, () => removeAndOfferUndo(room)));
  item.append(actions);
  return item;
}

// Each room's figures, by its name.
async function figuresOf(rooms) {
  const calc = rooms.length ? await loadCalculator().catch(() => null) : null;
  const home = calc ? homeFigures(calc, rooms, homePrice(), currentSeparator()) : null;
  return { home, rooms: new Map(home?.rooms.map((figures) => [figures.name, figures])) };
}

// Drawn afresh from what is stored: this tab's changes and other tabs' alike.
export async function showHome() {
  const rooms = currentRooms();
  section.hidden = rooms.length === 0 && whereKept() !== 'mas-nueva';
  showNote();
  const { home, rooms: figures } = await figuresOf(rooms);
  // Drawn anew, the list keeps the focus on the same room's button.
  const focused = list.contains(document.activeElement) && document.activeElement.getAttribute('aria-label');
  list.replaceChildren(...rooms.map((room) => roomItem(room, figures.get(room.nombre))));
  if (focused) focusListButton(focused);
  document.getElementById('total-casa').textContent = home?.total ?? '';
  document.getElementById('equipos-casa').textContent = home?.units ?? '';
  document.getElementById('energia-casa').textContent = home?.energy ?? '';
}

function save() {
  if (!isCurrent()) {
    announce(saved, 'El resultado es de las respuestas anteriores: pulse «Calcular» antes de guardar.');
    return;
  }
  const link = shownLink();
  if (!link) {
    announce(saved, 'Estas respuestas son demasiado largas para guardarlas: acorte alguna y pulse «Calcular».');
    return;
  }
  const first = currentRooms().length === 0;
  const name = [...cleanName(nameBox.value)].slice(0, longestName).join('') || freeName();
  const answers = new URL(link).hash.slice(1);
  // The home keeps one price of the kWh, the one saved last (a price the
  // calculation could not read leaves it).
  const priceBox = document.getElementById('precio');
  const price = priceBox.getAttribute('aria-invalid') ? homePrice() : priceBox.value && answers;
  const outcome = putRooms([{ nombre: name, respuestas: answers }], price);
  if (outcome.why === 'mas-nueva') {
    announce(saved, notes['mas-nueva']);
    return;
  }
  if (outcome.why) {
    announce(saved, `Mi casa ya tiene ${mostRooms} habitaciones. Borre alguna para guardar otra.`);
    return;
  }
  if (first) keep();
  if (outcome.replaced) {
    announce(saved, `${quoted(name)} reemplazada en Mi casa.`);
    offerUndo(outcome.changes, saved, 'reemplazada');
  } else {
    announce(saved, whereKept() === 'guardada' ? 'Guardada en Mi casa' : `Guardada en Mi casa. ${notes['sin-almacen']}`);
  }
  showHome();
}

document.getElementById('guardar').addEventListener('click', save);
nameBox.addEventListener('keydown', (event) => {
  if (event.key === 'Enter') save();
});
undoButton.addEventListener('click', undoLast);
onStoredElsewhere(showHome);
// A page brought back by Back may have missed another tab's writing.
window.addEventListener('pageshow', (event) => {
  if (event.persisted) showHome();
});
