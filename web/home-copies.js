// Mi casa's copies, which carry it to another device: "Descargar copia" and
// "Cargar copia", which takes a copy whole or refuses it whole, saying why.
import { announce } from './announce.js';
import { homeFigures } from './calculation.js';
import { loadCalculator } from './calculation-loader.js';
import { homeDocument, longestName, mostRooms, readCopy } from './home-document.js';
import { currentRooms, homePrice, putRooms } from './home-store.js';
import { keep, notes, offerUndo, quoted, showHome } from './home.js';
import { currentSeparator } from './separator.js';
import { showFailure } from './unavailable.js';

const fileChooser = document.getElementById('archivo-copia');
const copyStatus = document.getElementById('copia-estado');
const unchanged = 'Mi casa no ha cambiado.';

function download() {
  const copy = new Blob([JSON.stringify(homeDocument(currentRooms(), homePrice()), null, 1)], { type: 'application/json' });
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
  grande: () => 'Ese archivo pasa de 1 MB: no es una copia de Mi casa.',
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
  const figures = new Map(homeFigures(calc, copy.rooms, '', currentSeparator())?.rooms
    .map((room) => [room.name, room]));
  const unreadable = copy.rooms.findIndex(({ nombre }) => !figures.get(nombre)?.readable);
  if (unreadable >= 0) {
    refuse({ why: 'ilegible', at: unreadable + 1, name: copy.rooms[unreadable].nombre });
    return;
  }
  const outcome = putRooms(copy.rooms, homePrice() || copy.price);
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

document.getElementById('descargar').addEventListener('click', download);
document.getElementById('cargar').addEventListener('click', () => fileChooser.click());
fileChooser.addEventListener('change', load);
