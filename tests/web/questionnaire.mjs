// The page's six questions as a person answers them, and the worked example
// that the tests, the pictures and the benchmark answer.
import { byRole } from './browsers.mjs';

export const question = {
  1: '¿Es la vivienda un ático o última planta?',
  2: 'Superficie total de puertas y ventanas al exterior:',
  3: 'Longitud de las paredes que dan al exterior:',
  4: '¿Es la habitación muy soleada?',
  5: '¿Cuantas personas suelen ocupar la habitación?',
  6: '¿Hay muchas luces, electrodomesticos...?',
};

// A top floor, 4 by 5 metres, sunny, with many appliances: 3049 frigorías/hora.
export const workedExample = {
  choices: { 1: 'Si', 4: 'Si', 6: 'Si' },
  texts: { Largo: '4', Ancho: '5', [question[2]]: '3', [question[3]]: '9', [question[5]]: '2' },
};

export const box = (page, name) => byRole(page, 'textbox', name);
export const calculate = async (page) => page.click(await byRole(page, 'button', 'Calcular'));

// Choices by question number, texts by the box's name; then "Calcular".
export async function answer(page, { choices = {}, texts = {} }) {
  for (const [number, choice] of Object.entries(choices)) {
    await page.click(await byRole(page, 'radio', choice, question[number]));
  }
  for (const [name, text] of Object.entries(texts)) await page.type(await box(page, name), text);
  await calculate(page);
}
