// Mi casa on the page: saving the room on screen, the list of rooms with the
// home's figures, opening and deleting a room, the copies that carry it to
// another device, and undoing any of these. Every figure comes from the
// calculation.
import { announce } from './announce.js';
import { homeFigures, loadCalculator } from './calculation.js';
import {
  askToKeep, cleanName, currentRooms, freeName, homeDocument, longestName, mostRooms, nameLength,
  onStoredElsewhere, putRooms, readCopy, removeRoom, undoChanges, whereKept,
} from './home-store.js';
import { openAnswers } from './link.js';
import { press } from './press.js';
import { element, isCurrent, shownLink } from './result.js';
import { currentSeparator } from './separator.js';
import { showFailure } from './unavailable.js';

const section = document.getElementById('mi-casa');
const list = document.getElementById('habitaciones');
const nameBox = document.getElementById('nombre-habitacion');
const saved = document.getElementById('guardado');
const removed = document.getElementById('borrada');
const undoButton = document.getElementById('deshacer');
const fileChooser = document.getElementById('archivo-copia');
const copyStatus = document.getElementById('copia-estado');
const note = document.getElementById('nota-casa');
const usualNote = note.textContent;
const unchanged = 'Mi casa no ha cambiado.';
const keepACopy = 'Guarde una copia con «Descargar copia».';
const notes = {
  'sin-almacen': `Este navegador no deja guardar datos: Mi casa se perderá al cerrar la página. ${keepACopy}`,
  'mas-nueva': 'Mi casa la guardó una versión más nueva de Klimora, y esta no puede cambiarla. Vuelva a cargar la página para usar esa versión.',
  privada: `Si esta es una ventana privada, Mi casa se borrará al cerrarla. ${keepACopy}`,
};
let mayBePrivate = false;

// A name in any script, or holding bidi controls, never moves the words
// around it: isolated in plain text as <bdi> isolates it in the page.
const isolated = (name) => `\u2068${name}\u2069`;
const quoted = (name) => `«${isolated(nameLength(name) > longestName ? `${[...name].slice(0, longestName).join('')}…` : name)}»`;

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

async function keep() {
  mayBePrivate ||= await askToKeep();
  showNote();
}

function showNote() {
  const where = whereKept();
  note.textContent = notes[where] ?? (mayBePrivate ? notes.privada : usualNote);
  document.getElementById('descargar').hidden = where === 'mas-nueva';
}

async function openRoom(room) {
  const calc = await loadCalculator().catch(() => null);
  if (!calc || !openAnswers(calc, room.respuestas)) return;
  nameBox.value = room.nombre;
  await press();
  showHome();
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

function offerUndo(changes, status, done) {
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
  if (!changes) return;
  announce(removed, `${quoted(room.nombre)} borrada de Mi casa.`);
  offerUndo(changes, removed, 'borrada');
  undoButton.focus();
}

function roomItem(room, figures) {
  const item = element('li', '');
  const name = element('strong', '');
  name.append(element('bdi', room.nombre));
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
  const home = calc ? homeFigures(calc, rooms, currentSeparator()) : null;
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
  const outcome = putRooms([{ nombre: name, respuestas: new URL(link).hash.slice(1) }]);
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

function download() {
  const copy = new Blob([JSON.stringify(homeDocument(currentRooms()), null, 1)], { type: 'application/json' });
  const link = Object.assign(document.createElement('a'), { href: URL.createObjectURL(copy), download: 'mi-casa.json' });
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

// Why a copy was refused, naming the room at fault.
const roomOfTheCopy = ({ at, name }) => `La habitación ${at} de la copia${name ? `, ${quoted(name)},` : ''}`;
const refusals = {
  'no-es-copia': () => 'Ese archivo no es una copia de Mi casa.',
  'otra-version': () => 'Esa copia es de una versión más nueva de Klimora: actualice esta página y vuelva a cargarla.',
  demasiadas: ({ count }) => `Esa copia tiene ${count} habitaciones, y Mi casa guarda como mucho ${mostRooms}.`,
  'sin-nombre': (room) => `${roomOfTheCopy(room)} no tiene nombre.`,
  'nombre-largo': (room) => `${roomOfTheCopy(room)} tiene un nombre de más de ${longestName} caracteres.`,
  repetido: (room) => `${roomOfTheCopy(room)} tiene el mismo nombre que la ${room.first}.`,
  ilegible: (room) => `${roomOfTheCopy(room)} tiene respuestas que no se pueden leer.`,
  llena: () => `Con esa copia Mi casa pasaría de ${mostRooms} habitaciones.`,
  'mas-nueva': () => notes['mas-nueva'],
};
const refuse = (refusal) => announce(copyStatus, `${refusals[refusal.why](refusal)} ${unchanged}`);

async function load() {
  const [file] = fileChooser.files;
  fileChooser.value = '';
  if (!file) return;
  const copy = await readCopy(file);
  if (copy.why) {
    refuse(copy);
    return;
  }
  let calc;
  try {
    calc = await loadCalculator();
  } catch (failure) {
    // The copy may be sound: say what failed, as a press would.
    showFailure(failure.reason);
    announce(copyStatus, `La copia no se ha podido comprobar. ${unchanged}`);
    return;
  }
  // Every room's answers read whole, as the calculation reads a link.
  const figures = new Map(homeFigures(calc, copy.rooms, currentSeparator())?.rooms
    .map((room) => [room.name, room]));
  const unreadable = copy.rooms.findIndex(({ nombre }) => !figures.get(nombre)?.readable);
  if (unreadable >= 0) {
    refuse({ why: 'ilegible', at: unreadable + 1, name: copy.rooms[unreadable].nombre });
    return;
  }
  const outcome = putRooms(copy.rooms);
  if (outcome.why) {
    refuse(outcome);
    return;
  }
  const added = outcome.changes.filter(({ before }) => !before).length;
  announce(copyStatus, `Copia cargada. Añadidas: ${added}. Reemplazadas: ${outcome.replaced}.`);
  if (outcome.changes.length) offerUndo(outcome.changes, copyStatus, 'carga');
  keep();
  showHome();
}

document.getElementById('guardar').addEventListener('click', save);
nameBox.addEventListener('keydown', (event) => {
  if (event.key === 'Enter') save();
});
undoButton.addEventListener('click', undoLast);
document.getElementById('descargar').addEventListener('click', download);
document.getElementById('cargar').addEventListener('click', () => fileChooser.click());
fileChooser.addEventListener('change', load);
onStoredElsewhere(showHome);
// A page brought back by Back may have missed another tab's writing.
window.addEventListener('pageshow', (event) => {
  if (event.persisted) showHome();
});
