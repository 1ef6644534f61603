// Checks the page against the oldest browsers it supports, package.json's
// "browserslist": its scripts and the module emscripten wrote in SITE_DIR with
// eslint-plugin-compat, its style sheets with doiuse. Prints what one of them
// lacks, and fails if anything.
//
//     node scripts/check_browser_support.mjs SITE_DIR
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import browserslist from 'browserslist';
import doiuse from 'doiuse';
import { ESLint } from 'eslint';
import postcss from 'postcss';

const problems = [];
const glue = path.join(process.argv[2] ?? 'build/web/site', 'klimora-calc.*.mjs');
for (const result of await new ESLint({ errorOnUnmatchedPattern: true }).lintFiles(['web/*.js', glue])) {
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
