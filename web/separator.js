// The decimal separator the answers are written with: the user's choice on
// this device, else the browser's language.
import { field } from './questionnaire.js';

const storageKey = 'klimora.separador';
let separator = ',';
export const currentSeparator = () => separator;
const separatorName = (chosen) => (chosen === ',' ? 'coma' : 'punto');
export const isSeparator = (chosen) => chosen === ',' || chosen === '.';

function storedSeparator() {
  try {
    return localStorage.getItem(storageKey);
  } catch {
    return null; // storage refused: nothing to remember with
  }
}

// A language Intl does not know ("C" from a bare system, say) gets the comma.
function languageSeparator() {
  try {
    const parts = new Intl.NumberFormat(navigator.language || undefined).formatToParts(1.5);
    return parts.find((part) => part.type === 'decimal')?.value === ',' ? ',' : '.';
  } catch {
    return ',';
  }
}

export function chooseSeparator(chosen, remember) {
  separator = chosen;
  for (const option of field('separador')) option.checked = option.value === chosen;
  document.getElementById('separador-nombre').textContent = separatorName(chosen);
  document.getElementById('separador-ejemplo').textContent = `3${chosen}5`;
  if (!remember) return;
  try {
    localStorage.setItem(storageKey, chosen);
  } catch {
    // Private modes may refuse storage: the choice then lasts this visit.
  }
}

export function chooseUsualSeparator() {
  const stored = storedSeparator();
  chooseSeparator(isSeparator(stored) ? stored : languageSeparator(), false);
}
