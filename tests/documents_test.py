#!/usr/bin/env python3
"""The README and docs/ name only what there is: every relative link and
picture, every file or folder in backquotes, and every script a command runs.

    documents_test.py REPOSITORY
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1])
wrong = []
for document in [root / 'README.md', *sorted((root / 'docs').glob('*.md'))]:
    text = document.read_text(encoding='utf-8')
    links = [document.parent / target for target in re.findall(r'\]\(([^)#:]+)\)', text)]
    # Of the repository's own folders; others (build/, a download's) the commands make.
    named = [root / path for path in re.findall(r'`([\w.-]+/[\w./-]*)`', text)
             if (root / path.split('/')[0]).is_dir() and path.split('/')[0] != 'build']
    scripts = [root / path for path in re.findall(r'(?:bash|python3|node) ((?:scripts|tests|bench)/[\w/.-]+)', text)]
    wrong += [f'{document.name}: {path.relative_to(root)}' for path in links + named + scripts
              if not path.exists()]
print('\n'.join(wrong) or 'Every file the documents name is there.')
sys.exit(1 if wrong else 0)
