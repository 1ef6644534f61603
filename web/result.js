// The result: the total, where it comes from and the unit sizes that cover it,
// and whether it is still that of the answers on screen. Every text comes from
// the calculation.
import { announce } from './announce.js';
import { offerLink } from './share.js';

const result = document.getElementById('resultado');
const detail = document.getElementById('detalle');
const main = document.querySelector('main');

export const element = (tag, text, className) =>
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

// Whose result is on screen: 'actual' (the answers'), 'anterior' (answers
// changed since) or 'fallido' (the last press failed). The printed page
// follows it.
const state = () => main.dataset.resultado;
function setState(now, printedError = '') {
  main.dataset.resultado = now;
  document.getElementById('desfasado').hidden = now === 'actual';
  document.getElementById('error-impreso').textContent = printedError;
}

let shown = '';
// Whether the result on screen is that of the answers on screen.
export const isCurrent = () => state() === 'actual';
// The link to the result on screen; '' where its answers are too long for one.
export const shownLink = () => shown;

export function showResult({ shown: total, equivalents, breakdown, units, advice, link }) {
  announce(result, total);
  // What was said of saving the earlier result.
  document.getElementById('guardado').textContent = '';
  document.getElementById('equivalencias').textContent = equivalents;
  document.getElementById('desglose').tBodies[0].replaceChildren(...breakdown.map(breakdownRow));
  document.getElementById('equipos').replaceChildren(...units.map(unitClass));
  document.getElementById('equipos-titulo').hidden = units.length === 0;
  document.getElementById('consejo').textContent = advice;
  showLink(link);
  detail.hidden = false;
  setState('actual');
}

// The link to the result on screen, written anew as "Lo que gasta" changes:
// this page with the calculation's fragment; '' for none.
export function showLink(fragment) {
  shown = fragment && `${location.origin}${location.pathname}#${fragment}`;
  document.getElementById('enlace-impreso').textContent = shown;
  offerLink(shown);
}

export const hasResult = () => result.textContent !== '';

// The earlier total may stay; its detail and link go, and a printout shows the
// error in its place.
export function showFailedPress(message) {
  if (!hasResult()) return;
  detail.hidden = true;
  setState('fallido', message);
}

export function answersChanged() {
  if (state() === 'actual') setState('anterior');
}
