// The bridge to the calculation: every reading, sum and text of it comes from
// the same C++ as the desktop program, compiled to WebAssembly
// (web/calculate.cpp). Each thing a person does is one call; its reply, JSON
// read by name (calc/result_json.h), holds all the page then shows.

import { forgetCalculator, readText } from './calculation-loader.js';

// calc's own words, put in as the site is put together: after a trap the
// calculation cannot say them.
const failed = { link: '', error: { answer: '', message: '{{unexpected}}' } };

// A lone surrogate, which no UTF-8 holds, as the replacement character.
const wellFormed = (text) => text.replace(/\p{Cs}/gu, '\uFFFD');

// The answers as a link's fields, "atico=si&largo=4", by their names in the form.
export const answerFields = (values) =>
  values.map(([name, value]) => `${name}=${encodeURIComponent(wellFormed(value))}`).join('&');

// The text goes in as its exact UTF-8 bytes, whatever characters it holds.
// Undefined where the calculation traps (memory ran out): that instance is
// done, and the next call gets another.
function call(calc, entry, text, separator) {
  try {
    const bytes = new TextEncoder().encode(text);
    const buffer = calc.malloc(Math.max(bytes.length, 1));
    if (!buffer) throw new RangeError('no memory');
    // A view made now: memory may have grown since the last.
    new Uint8Array(calc.memory.buffer).set(bytes, buffer);
    const reply = JSON.parse(readText(calc, entry(buffer, bytes.length, separator.charCodeAt(0))));
    calc.free(buffer);
    return reply;
  } catch {
    forgetCalculator();
    return undefined;
  }
}

// A press: { link, total, shown, equivalents, breakdown: [{ name, term, share,
// bar }], units: [{ text, corresponds }], advice }, or { link, error: { answer,
// message, otherSeparator, useOther } } where answer names the box to mend.
export const press = (calc, fields, separator) => call(calc, calc.klimora_press, fields, separator) ?? failed;

// A link's fragment opened: null for no Klimora link, else { answers: [[name,
// value]], separator, whole } and the press's fields; after a trap, the failure.
export function open(calc, fragment, separator) {
  const opened = call(calc, calc.klimora_open, fragment, separator);
  return opened === undefined ? failed : opened;
}

// Mi casa's figures for rooms given by their names and fragments, at the
// price of the kWh a fragment gives, each room's read by its name: { rooms:
// [{ name, total, unit, readable }], total, units, energy }.
export const homeFigures = (calc, rooms, price, separator) => call(calc, calc.klimora_home,
  [price, ...rooms.map(({ nombre, respuestas }) => `${encodeURIComponent(wellFormed(nombre))}#${respuestas}`)]
    .join('\n'), separator);
