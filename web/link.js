// A calculation as a link, in the format the calculation writes and reads
// (calc/answer_link.h): written for sharing, and opened in this tab.
import { linkFragment, readLink } from './calculation.js';
import { fillIn, startAfresh } from './questionnaire.js';
import { chooseSeparator, currentSeparator } from './separator.js';

// '' where the answers are too long for a link.
export function linkTo(calc, answers, separator) {
  const fragment = linkFragment(calc, answers, separator);
  return fragment && `${location.origin}${location.pathname}#${fragment}`;
}

// Answers given as a link's fragment over the page's first ones, their
// separator for this visit only; false for no Klimora link.
export function openAnswers(calc, fragment) {
  const shared = readLink(calc, fragment);
  if (!shared) return false;
  startAfresh();
  const whole = fillIn(shared.answers) && shared.whole;
  chooseSeparator(shared.separator || currentSeparator(), false);
  document.getElementById('aviso-enlace').hidden = whole;
  return true;
}

// A shared link's answers. True when the address held a Klimora link. The
// link then leaves the address, so that a reload keeps what the person has
// changed since, and so does "index.html", which the offline copy's update may add.
export function openLink(calc) {
  if (!openAnswers(calc, location.hash)) return false;
  history.replaceState(null, '', location.pathname.replace(/\/index\.html$/, '/') + location.search);
  return true;
}
