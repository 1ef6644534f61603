// What a reply of the calculation shows: its result, or its failure beside
// the answer to mend.
import { clearError, showError } from './answer-error.js';
import { showFailedPress, showResult } from './result.js';

// A link to this page with the fragment; '' for none.
const pageLink = (fragment) => fragment && `${location.origin}${location.pathname}#${fragment}`;

export function showReply(reply) {
  if (!reply.error) {
    clearError();
    showResult(reply, pageLink(reply.link));
    return;
  }
  showError(reply.error);
  showFailedPress(reply.error.message);
}
