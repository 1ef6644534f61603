// A result's link, shared: the share sheet where there is one; else the
// clipboard; else the link itself, selected, for the person to copy. Only
// while the result is that of the answers on screen (style.css hides it else).
import { announce } from './announce.js';

const shareStatus = document.getElementById('compartido');
const linkBox = document.getElementById('enlace');
let link = '';

export function offerLink(linkToIt) {
  link = linkToIt;
  shareStatus.textContent = '';
  linkBox.hidden = true;
}

async function share() {
  if (!link) {
    announce(shareStatus, 'Estas respuestas son demasiado largas para un enlace: acorte alguna y pulse «Calcular».');
    return;
  }
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
