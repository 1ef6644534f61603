// Checks the page against the oldest browsers it supports, package.json's
// "browserslist": its scripts with eslint-plugin-compat, its style sheets
// with doiuse. Prints what one of them lacks, and fails if anything.
//
//     node scripts/check_browser_support.mjs
import { readFile } from 'node:fs/promises';
import browserslist from 'browserslist';
import doiuse from 'doiuse';
import { ESLint } from 'eslint';
import postcss from 'postcss';

const problems = [];
for (const result of await new ESLint({ errorOnUnmatchedPattern: true }).lintFiles(['web/*.js'])) {
  for (const message of result.messages) {
    problems.push(`${result.filePath}:${message.line}: ${message.message}`);
  }
}
const browsers = browserslist.loadConfig({ path: '.' });
for (const sheet of ['web/style.css', 'web/sin-script.css']) {
  await postcss([doiuse({ browsers, onFeatureUsage: (usage) => problems.push(usage.message) })])
    .process(await readFile(sheet, 'utf8'), { from: sheet });
}
console.log(problems.join('\n') || `The page's scripts and styles work in ${browsers.join(', ')}.`);
process.exitCode = problems.length ? 1 : 0;
