// A live region speaks when its text changes: the same text again is taken
// away for a moment, so that a second press is heard too. A newer text
// cancels the older one still waiting.
const waiting = new WeakMap();

export function announce(element, text) {
  clearTimeout(waiting.get(element));
  if (element.textContent !== text) {
    element.textContent = text;
    return;
  }
  element.textContent = '';
  waiting.set(element, setTimeout(() => { element.textContent = text; }, 100));
}
