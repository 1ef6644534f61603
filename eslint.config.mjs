// The page's scripts use only what the browsers in package.json's
// "browserslist" have: the oldest the page supports, listed in the README.
import compat from 'eslint-plugin-compat';

export default [
  {
    files: ['web/*.js'],
    languageOptions: { ecmaVersion: 2022, sourceType: 'module' },
    ...compat.configs['flat/recommended'],
  },
];
