#!/usr/bin/env python3
"""Puts the web page together: the questions' texts taken from the window's
own form, so that both say the same, the calculation compiled to WebAssembly,
the icons, and a service worker that keeps exactly these files offline.

Usage: build_site.py FORM_UI ICONS_DIR CALC_DIR VERSION SITE_DIR
"""
import hashlib
import html
import json
import pathlib
import re
import shutil
import sys
import xml.etree.ElementTree as ElementTree

HERE = pathlib.Path(__file__).resolve().parent
ICONS = ('klimora.svg', 'klimora-32.png', 'klimora-180.png', 'klimora-192.png',
         'klimora-512.png')
CALC = ('klimora-calc.mjs', 'klimora-calc.wasm')
PAGE = ('klimora.js', 'style.css', 'manifest.webmanifest')


def form_texts(ui):
    """Each control's caption or text, by the control's name."""
    texts = {}
    for widget in ElementTree.parse(ui).iter('widget'):
        for prop in widget.findall('property'):
            if prop.get('name') in ('text', 'title'):
                texts[widget.get('name')] = prop.findtext('string') or ''
    return texts


def filled(template, texts):
    def text(match):
        if match[1] not in texts:
            sys.exit(f'{match[1]}: no such control in the form')
        return html.escape(texts[match[1]])
    return re.sub(r'\{\{(\w+)\}\}', text, template)


def main():
    ui, icons, calc, version, site = sys.argv[1:]
    site = pathlib.Path(site)
    shutil.rmtree(site, ignore_errors=True)
    (site / 'icons').mkdir(parents=True)
    page = filled((HERE / 'index.html').read_text(encoding='utf-8'), form_texts(ui))
    (site / 'index.html').write_text(page, encoding='utf-8')
    for name in PAGE:
        shutil.copyfile(HERE / name, site / name)
    for name in CALC:
        shutil.copyfile(pathlib.Path(calc) / name, site / name)
    for name in ICONS:
        shutil.copyfile(pathlib.Path(icons) / name, site / 'icons' / name)

    files = sorted(path.relative_to(site).as_posix() for path in site.rglob('*') if path.is_file())
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b'\0' + (site / name).read_bytes())
    worker = (HERE / 'sw.js').read_text(encoding='utf-8')
    worker = worker.replace('{{cache}}', f'klimora-{version}-{digest.hexdigest()[:12]}')
    worker = worker.replace('{{files}}', json.dumps(['./'] + files))
    (site / 'sw.js').write_text(worker, encoding='utf-8')


if __name__ == '__main__':
    main()
