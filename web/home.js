// Mi casa on the page: saving the room on screen, the list of rooms with the
// home's figures, opening and deleting a room, and the copies that carry it
// to another device. Every figure comes from the calculation.
import { announce } from './announce.js';
import { homeFigures, loadCalculator, readLink } from './calculation.js';
import {
  askToKeep, currentRooms, freeName, homeDocument, lasting, longestName, mostRooms, onStoredElsewhere,
  putRooms, readCopy, removeRoom, restoreRoom,
} from './home-store.js';
import { openAnswers } from './link.js';
import { press } from './press.js';
import { element, shownLink } from './result.js';
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
const unchanged = 'Mi casa no ha cambiado.';
const shortLived = 'Este navegador no deja guardar datos: Mi casa se perderá al cerrar la página.';

function button(text, name, action) {
  const control = element('button', text, 'secundario');
  control.type = 'button';
  control.setAttribute('aria-label', name);
  control.addEventListener('click', action);
  return control;
}

const focusButton = (name) =>
  [...list.querySelectorAll('button')].find((control) => control.getAttribute('aria-label') === name)?.focus();

async function openRoom(room) {
  const calc = await loadCalculator().catch(() => null);
  if (!calc || !openAnswers(calc, room.respuestas)) return;
  nameBox.value = room.nombre;
  await press();
  showHome();
  document.getElementById('resultado').scrollIntoView({ block: 'center' });
}

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
  removed.textContent = '';
}

function removeAndOfferUndo(room) {
  const at = removeRoom(room.nombre);
  showHome();
  if (at < 0) return;
  undo = () => {
    restoreRoom(room, at);
    return room.nombre;
  };
  announce(removed, `«${room.nombre}» borrada de Mi casa.`);
  undoButton.hidden = false;
  undoButton.focus();
  clearTimeout(undoTimer);
  undoTimer = setTimeout(endUndo, 20000);
}

function roomItem(room, figures) {
  const item = element('li', '');
  item.append(element('strong', room.nombre), element('span', figures?.total ?? ''),
    element('span', figures?.unit ?? ''));
  const actions = element('span', '', 'acciones');
  actions.append(button('Abrir', `Abrir ${room.nombre}`, () => openRoom(room)),
    button('Borrar', `Borrar ${room.nombre}`, () => removeAndOfferUndo(room)));
  item.append(actions);
  return item;
}

// Drawn afresh from what is stored: this tab's changes and other tabs' alike.
export async function showHome() {
  const rooms = currentRooms();
  section.hidden = rooms.length === 0;
  const calc = await loadCalculator().catch(() => null);
  const home = calc && rooms.length ? homeFigures(calc, rooms.map(({ respuestas }) => respuestas), currentSeparator()) : null;
  // Drawn anew, the list keeps the focus on the same room's button.
  const focused = list.contains(document.activeElement) && document.activeElement.getAttribute('aria-label');
  list.replaceChildren(...rooms.map((room, index) => roomItem(room, home?.rooms[index])));
  if (focused) focusButton(focused);
  document.getElementById('total-casa').textContent = home?.total ?? '';
  document.getElementById('equipos-casa').textContent = home?.units ?? '';
  if (!lasting()) document.getElementById('nota-casa').textContent = `${shortLived} Guarde una copia con «Descargar copia».`;
}

function save() {
  const link = shownLink();
  if (!link) {
    announce(saved, 'El resultado es de las respuestas anteriores: pulse «Calcular» antes de guardar.');
    return;
  }
  const first = currentRooms().length === 0;
  const name = nameBox.value.trim().slice(0, longestName) || freeName();
  const counts = putRooms([{ nombre: name, respuestas: new URL(link).hash.slice(1) }]);
  if (!counts) {
    announce(saved, `Mi casa ya tiene ${mostRooms} habitaciones. Borre alguna para guardar otra.`);
    return;
  }
  if (first) askToKeep();
  const said = counts.replaced ? 'Actualizada' : 'Guardada en Mi casa';
  announce(saved, lasting() ? said : `${said}. ${shortLived}`);
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

const refusals = {
  'no-es-copia': `Ese archivo no es una copia de Mi casa. ${unchanged}`,
  'otra-version': `Esa copia es de una versión más nueva de Klimora: actualice esta página y vuelva a cargarla. ${unchanged}`,
};

async function load() {
  const [file] = fileChooser.files;
  fileChooser.value = '';
  if (!file) return;
  let rooms = await readCopy(file);
  let calc;
  try {
    calc = await loadCalculator();
  } catch (failure) {
    // The copy may be sound: say what failed, as a press would.
    showFailure(failure.reason);
    announce(copyStatus, `La copia no se ha podido comprobar. ${unchanged}`);
    return;
  }
  // Every room's answers must be a link the calculation reads.
  if (Array.isArray(rooms) && rooms.some(({ respuestas }) => !readLink(calc, respuestas))) {
    rooms = 'no-es-copia';
  }
  if (!Array.isArray(rooms)) {
    announce(copyStatus, refusals[rooms]);
    return;
  }
  const counts = putRooms(rooms);
  announce(copyStatus, counts
    ? `Copia cargada. Añadidas: ${counts.added}. Reemplazadas: ${counts.replaced}.`
    : `Con esa copia Mi casa pasaría de ${mostRooms} habitaciones. ${unchanged}`);
  showHome();
}

document.getElementById('guardar').addEventListener('click', save);
nameBox.addEventListener('keydown', (event) => {
  if (event.key === 'Enter') save();
});
undoButton.addEventListener('click', async () => {
  const name = undo?.();
  closeUndo();
  announce(removed, 'Deshecho');
  await showHome();
  // Its button had the focus: the room back has it now.
  focusButton(`Abrir ${name}`);
});
document.getElementById('descargar').addEventListener('click', download);
document.getElementById('cargar').addEventListener('click', () => fileChooser.click());
fileChooser.addEventListener('change', load);
onStoredElsewhere(showHome);
