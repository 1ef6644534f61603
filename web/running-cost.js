// "Lo que gasta": what the unit on screen uses and costs to run, from the
// calculation, shown with each reply and asked again at each change of its
// boxes, in one call. Said aloud once a box is left, not at every key.
import { announce } from './announce.js';
import { answerFields, press } from './calculation.js';
import { loadCalculator } from './calculation-loader.js';
import { answerValues, field } from './questionnaire.js';
import { showLink } from './result.js';
import { currentSeparator } from './separator.js';

const section = document.getElementById('gasto');
const unit = document.getElementById('equipo');
const power = document.getElementById('potencia');
const sentence = document.getElementById('gasto-frase');
const comparison = document.getElementById('comparacion');
const boxes = section.querySelectorAll('input');

// Each box's message beside it, which it names as its description.
function showProblems(problems) {
  for (const box of boxes) {
    box.removeAttribute('aria-invalid');
    document.getElementById(`${box.id}-error`)?.remove();
    box.setAttribute('aria-describedby', box.dataset.describedby ?? '');
  }
  for (const { box: name, message } of problems) {
    const box = field(name);
    const said = Object.assign(document.createElement('p'), { id: `${box.id}-error`, className: 'error-casilla', textContent: message });
    box.after(said);
    box.setAttribute('aria-invalid', 'true');
    box.setAttribute('aria-describedby', [box.dataset.describedby, said.id].filter(Boolean).join(' '));
  }
}

// The questions' answers of the result on screen: a change here costs that
// result's unit, whatever has been typed above since.
const costNames = new Set([...section.querySelectorAll('[name]')].map(({ name }) => name));
let asked = [];

// A reply to a press, or to a link or room opened: what its unit costs.
export function showCost(reply) {
  asked = answerValues().filter(([name]) => !costNames.has(name));
  showFigures(reply);
}

function showFigures({ units, unit: costed, cost }) {
  section.hidden = units.length === 0;
  // The size that corresponds is the one asked for by no size at all.
  const options = units.map(({ name, unit: size, corresponds }) => new Option(name, corresponds ? '' : size));
  if (!units.some(({ corresponds }) => corresponds)) options.unshift(new Option('Elija un equipo', ''));
  unit.replaceChildren(...options);
  unit.value = costed;
  // The power prefilled follows the size, unless the person wrote their unit's
  // own; a box they emptied stays empty, and counts as the prefilled figure.
  const followsTheSize = power.value === '' ? power.dataset.prefilled === undefined : power.value === power.dataset.prefilled;
  if (followsTheSize) power.value = cost.power;
  power.dataset.prefilled = cost.power;
  document.getElementById('potencia-origen').textContent = cost.from;
  sentence.textContent = cost.sentence;
  // A comparison that appears, as a link brings it, is shown, and so printed.
  if (cost.comparison && !comparison.textContent) document.getElementById('comparar').open = true;
  comparison.textContent = cost.comparison;
  showProblems(cost.problems);
}

// Asked again for the boxes as they are, at each change.
async function updateCost() {
  if (section.hidden) return;
  const calc = await loadCalculator().catch(() => null);
  const typed = answerValues().filter(([name]) => costNames.has(name));
  const reply = calc && press(calc, answerFields([...asked, ...typed]), currentSeparator());
  if (!reply || reply.error) return;
  showFigures(reply);
  showLink(reply.link);
}

for (const box of boxes) box.dataset.describedby = box.getAttribute('aria-describedby') ?? '';
section.addEventListener('input', updateCost);
section.addEventListener('change', () => announce(document.getElementById('gasto-anuncio'),
  `${sentence.textContent} ${comparison.textContent}`.trim()));
