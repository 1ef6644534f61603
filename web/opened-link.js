// A shared link opened in this tab: its answers over the page's first ones,
// its separator for this visit only.
import { readLink } from './link.js';
import { fillIn, startAfresh } from './questionnaire.js';
import { chooseSeparator, currentSeparator } from './separator.js';

// True when the address held a Klimora link, now in the form. The link then
// leaves the address, so that a reload keeps what the person has changed
// since, and so does "index.html", which the offline copy's update may add.
export function openLink() {
  const shared = readLink(location.hash);
  if (!shared) return false;
  startAfresh();
  const whole = fillIn(shared.values) && shared.whole;
  chooseSeparator(shared.separator ?? currentSeparator(), false);
  document.getElementById('aviso-enlace').hidden = whole;
  history.replaceState(null, '', location.pathname.replace(/\/index\.html$/, '/') + location.search);
  return true;
}
