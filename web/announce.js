// A live region speaks when its text changes: the same text again is taken
// away for a moment, so that a second press is heard too.
export function announce(element, text) {
  if (element.textContent !== text) {
    element.textContent = text;
    return;
  }
  element.textContent = '';
  setTimeout(() => { element.textContent = text; }, 100);
}
