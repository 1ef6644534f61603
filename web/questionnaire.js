// The six questions: reading the answers and putting answers back, by the
// names the form gives them, which are calc's (build_site.py checks them).
export const form = document.getElementById('cuestionario');
export const field = (name) => form.elements.namedItem(name);
export const button = document.getElementById('calcular');
export const answerBoxes = () => form.querySelectorAll('fieldset:not(.separador) input[type=text]');

// Question [1] switches the length and width on and off, as the window does:
// the greyed text of the area's first line is the record of which, and "m"
// after the width stays dark until the area is first switched off.
const area = document.getElementById('pregunta-1');
export function switchArea(on) {
  const line = document.getElementById('superficie');
  if (line.classList.contains('apagado') !== on) return;
  for (const part of area.querySelectorAll('#superficie, .medida label')) part.classList.toggle('apagado', !on);
  document.getElementById('unidad-ancho').classList.toggle('apagado', !on);
  for (const box of area.querySelectorAll('input[type=text]')) box.disabled = !on;
}

// A browser may restore the radios of an earlier visit (a reload, going back):
// the area follows whatever answer the page shows.
export function followRestoredAnswers() {
  const chosen = area.querySelector('input[type=radio]:checked');
  if (chosen) switchArea('area' in chosen.dataset);
}

// Every answer as [name, value]: each box, each question's chosen radio, and
// "Lo que gasta", whose power as prefilled is the calculation's to give.
export const answerValues = () => [...form.elements]
  .filter((element) => element.name && element.name !== 'separador' &&
    (element.type !== 'radio' || element.checked))
  .map((element) => [element.name, element.value === element.dataset.prefilled ? '' : element.value]);

// Puts back what the form can take, and leaves the rest; false if anything was left.
export function fillIn(values) {
  let whole = true;
  for (const [name, value] of values) {
    const element = typeof name === 'string' && name !== 'separador' && field(name);
    if (element instanceof RadioNodeList) {
      for (const option of element) option.checked = option.value === value;
      whole &&= [...element].some((option) => option.checked);
    } else if (element instanceof HTMLSelectElement) {
      // Its choices come with the result: this one waits there for it.
      element.replaceChildren(new Option('', String(value), true, true));
    } else if (element instanceof HTMLInputElement) {
      element.value = String(value);
    } else {
      whole = false;
    }
  }
  followRestoredAnswers();
  return whole;
}

// The page's first answers, before a shared link's.
export function startAfresh() {
  form.reset();
  switchArea(false);
}
