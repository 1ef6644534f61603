// The page's scripts, and the module emscripten writes around the
// calculation, use only what the browsers in package.json's "browserslist"
// have: the oldest the page supports, listed in the README.
import compat from 'eslint-plugin-compat';

const scripts = ['web/*.js', '**/site/klimora-calc.*.mjs'];

export default [
  { ...compat.configs['flat/recommended'], files: scripts },
  // After the plugin's own, which would set an older language.
  { files: scripts, languageOptions: { ecmaVersion: 2022, sourceType: 'module' } },
];
