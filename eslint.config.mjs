// The page's scripts use only what the browsers in package.json's
// "browserslist" have: the oldest the page supports, listed in docs/web.md. Every script of
// the project keeps the same style.
import stylistic from '@stylistic/eslint-plugin';
import compat from 'eslint-plugin-compat';

const scripts = ['web/*.js'];
const ours = ['web/*.js', 'tests/web/*.mjs', 'bench/web/*.mjs', 'scripts/*.mjs', '*.mjs'];
const style = stylistic.configs.customize({
  indent: 2, quotes: 'single', semi: true, braceStyle: '1tbs', arrowParens: true, commaDangle: 'always-multiline',
});

export default [
  { ...compat.configs['flat/recommended'], files: scripts },
  // After the plugin's own, which would set an older language.
  { files: [...scripts, ...ours], languageOptions: { ecmaVersion: 2022, sourceType: 'module' } },
  {
    files: ours,
    ...style,
    rules: {
      ...style.rules,
      '@stylistic/max-len': ['error', { code: 120, ignoreStrings: true, ignoreTemplateLiterals: true, ignoreRegExpLiterals: true }],
      '@stylistic/operator-linebreak': ['error', 'after', { overrides: { '?': 'before', ':': 'before' } }],
      '@stylistic/quote-props': ['error', 'as-needed'],
      '@stylistic/max-statements-per-line': ['error', { max: 2 }],
      '@stylistic/multiline-ternary': 'off',
    },
  },
];
