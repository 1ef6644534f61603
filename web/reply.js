// What a reply of the calculation shows: its result, or its failure beside
// the answer to mend.
import { clearError, showError } from './answer-error.js';
import { showFailedPress, showResult } from './result.js';
import { showCost } from './running-cost.js';

export function showReply(reply) {
  if (!reply.error) {
    clearError();
    showResult(reply);
    showCost(reply);
    return;
  }
  showError(reply.error);
  showFailedPress(reply.error.message);
}
