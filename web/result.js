// The result: the total, where it comes from, the unit sizes that cover it,
// and a link to share it with. Every text comes from the calculation.
import { announce } from './announce.js';

const result = document.getElementById('resultado');
const detail = document.getElementById('detalle');
const shareStatus = document.getElementById('compartido');
const linkBox = document.getElementById('enlace');
let link = '';

const element = (tag, text, className) =>
  Object.assign(document.createElement(tag), { textContent: text, className: className ?? '' });

function breakdownRow({ name, term, share, bar }) {
  const row = document.createElement('tr');
  const header = element('th', name);
  header.scope = 'row';
  const part = element('td', share);
  if (share) {
    const track = element('span', '', 'pista');
    track.setAttribute('aria-hidden', 'true');
    const filled = element('span', '', 'barra');
    filled.style.width = `${bar}%`;
    track.append(filled);
    part.append(track);
  }
  row.append(header, element('td', term), part);
  return row;
}

function unitClass({ text, corresponds }) {
  const item = element('li', text, corresponds ? 'corresponde' : '');
  if (corresponds) item.setAttribute('aria-current', 'true');
  return item;
}

export function showResult({ total, equivalents, rows, classes, advice }, linkToIt) {
  announce(result, `${total} ${result.dataset.unidad}`);
  document.getElementById('equivalencias').textContent = equivalents;
  document.getElementById('desglose').tBodies[0].replaceChildren(...rows.map(breakdownRow));
  document.getElementById('equipos').replaceChildren(...classes.map(unitClass));
  document.getElementById('equipos-titulo').hidden = classes.length === 0;
  document.getElementById('consejo').textContent = advice;
  document.getElementById('enlace-impreso').textContent = linkToIt;
  link = linkToIt;
  shareStatus.textContent = '';
  linkBox.hidden = true;
  detail.hidden = false;
}

export const hasResult = () => result.textContent !== '';

// The share sheet where there is one; else the clipboard; else the link
// itself, selected, for the person to copy.
async function share() {
  if (navigator.share) {
    try {
      await navigator.share({ title: document.title, url: link });
      return;
    } catch (failure) {
      if (failure.name === 'AbortError') return; // closed by the person
    }
  }
  try {
    await navigator.clipboard.writeText(link);
    announce(shareStatus, 'Enlace copiado');
  } catch {
    linkBox.value = link;
    linkBox.hidden = false;
    linkBox.focus();
    linkBox.select();
  }
}

document.getElementById('compartir').addEventListener('click', share);
