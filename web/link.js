// A shared link opened in this tab: its answers, read by the calculation
// (calc/answer_link.h), and their result, in one call.
import { open } from './calculation.js';
import { fillIn, startAfresh } from './questionnaire.js';
import { showReply } from './reply.js';
import { chooseSeparator, currentSeparator } from './separator.js';

// Answers given as a link's fragment over the page's first ones, their
// separator for this visit only; false for no Klimora link.
export function openAnswers(calc, fragment) {
  const opened = open(calc, fragment, currentSeparator());
  if (!opened) return false;
  if (opened.answers) {
    startAfresh();
    fillIn(opened.answers);
    chooseSeparator(opened.separator, false);
    document.getElementById('aviso-enlace').hidden = opened.whole;
  }
  showReply(opened);
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
