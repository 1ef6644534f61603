// When the calculation cannot start: the page says why and offers the way on.
// A server that has moved on to a newer version gets one reload by itself.
import { calcWasm } from './calculation-loader.js';
import { reloadKeepingAnswers, sessionStore } from './kept-answers.js';
import { button } from './questionnaire.js';

// Each reason has its message; without WebAssembly there is no button either.
const messages = { 'sin-webassembly': 'sin-calculo', rechazado: 'calculo-rechazado',
  'sin-conexion': 'sin-conexion', 'otra-version': 'otra-version' };
export function showUnavailable(reason) {
  for (const [each, id] of Object.entries(messages)) {
    document.getElementById(id).hidden = each !== reason;
  }
  button.hidden = reason === 'sin-webassembly';
}

const reloadedKey = 'klimora.recargada';
export function showFailure(reason) {
  if (reason === 'otra-version' && sessionStore()?.getItem(reloadedKey) !== calcWasm) {
    sessionStore()?.setItem(reloadedKey, calcWasm);
    reloadKeepingAnswers();
    return;
  }
  showUnavailable(reason);
}

document.getElementById('recargar').addEventListener('click', reloadKeepingAnswers);
