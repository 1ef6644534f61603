#!/usr/bin/env python3
"""Puts the web page together: the questions' texts taken from the window's
own form, so that both say the same, the page's modules in one file, the
calculation compiled to WebAssembly, the icons, and a service worker that keeps what the page needs offline.

Usage: build_site.py FORM_UI ICONS_DIR CALC_DIR VERSION SITE_DIR ESBUILD ZOPFLI
"""
import hashlib
import html
import json
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

HERE = pathlib.Path(__file__).resolve().parent
COMPRESSED = ('.html', '.js', '.css', '.wasm', '.webmanifest', '.svg')
ICONS = ('klimora.svg', 'klimora-32.png', 'klimora-180.png', 'klimora-192.png',
         'klimora-512.png')


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


CALC = HERE.parent / 'calc'


def calc_words():
    """What the page says in calc's words, from calc's own sources: the answers'
    names and yes/no values, and the words for a failure no answer explains."""
    fields = (CALC / 'answer_fields.cpp').read_text(encoding='utf-8')
    errors = (CALC / 'calc_error.h').read_text(encoding='utf-8')
    fields_h = (CALC / 'answer_fields.h').read_text(encoding='utf-8')
    names = re.findall(r'^\s*\{"([\w-]+)", Answer::', fields, re.M)
    choices = re.findall(r'std::string_view (?:yes|no) = "(\w+)";', fields_h)
    unexpected = re.search(r'unexpectedError = "([^"]+)";', errors)
    if not names or len(choices) != 2 or not unexpected:
        sys.exit('calc/answer_fields.* or calc/calc_error.h: the answers or the words are not where expected')
    return names, set(choices), unexpected[1]


def check_form(page, names, choices):
    """The form's answers are calc's, by name and yes/no value, in calc's order."""
    fields = re.findall(r'<(?:input|select) [^>]*name="([\w-]+)"[^>]*>', page)
    answers = [name for name in dict.fromkeys(fields) if name != 'separador']
    values = set(re.findall(r'type="radio" name="(?!separador)\w+" value="(\w+)"', page))
    if answers != names or values != choices:
        sys.exit(f'index.html: the form names {answers} and {sorted(values)}; calc names {names} and {sorted(choices)}')


TARGET = '--target=chrome97,firefox102,safari16'


def minified(esbuild, text, loader):
    """The script or style sheet as a phone should download it, written for
    the oldest browsers the page supports (package.json)."""
    return subprocess.run(
        [esbuild, '--minify', f'--loader={loader}', TARGET, '--log-level=warning'],
        input=text, stdout=subprocess.PIPE, check=True, text=True).stdout


def bundled(esbuild, entry):
    """The page's modules as one minified file: one download, one digest."""
    return subprocess.run(
        [esbuild, str(entry), '--bundle', '--format=esm', '--minify', TARGET,
         '--log-level=warning'],
        stdout=subprocess.PIPE, check=True, text=True).stdout


def hashed(site, name, data):
    """Writes data under name with a digest of it in the name; returns that name."""
    stem, dot, suffix = name.partition('.')
    final = f'{stem}.{hashlib.sha256(data).hexdigest()[:10]}{dot}{suffix}'
    (site / final).write_bytes(data)
    return final


def main():
    ui, icons, calc, version, site, esbuild, zopfli = sys.argv[1:]
    site = pathlib.Path(site)
    calc = pathlib.Path(calc)
    shutil.rmtree(site, ignore_errors=True)
    (site / 'icons').mkdir(parents=True)
    # Each file an older page could be served with carries its digest in its
    # name, and so does each name that refers to it: the calculation's
    # WebAssembly, then the page's script and style. Only the page, the worker, the
    # manifest and the icons keep fixed names.
    wasm = hashed(site, 'klimora-calc.wasm', (calc / 'klimora-calc.wasm').read_bytes())
    answer_names, choices, unexpected = calc_words()
    with tempfile.TemporaryDirectory() as sources:
        sources = pathlib.Path(sources)
        for module in HERE.glob('*.js'):
            text = module.read_text(encoding='utf-8')
            text = text.replace("'./klimora-calc.wasm'", f"'./{wasm}'").replace('{{version}}', version)
            text = text.replace('{{unexpected}}', unexpected)
            (sources / module.name).write_text(text, encoding='utf-8')
        script = hashed(site, 'klimora.js', bundled(esbuild, sources / 'klimora.js').encode())
    style = minified(esbuild, (HERE / 'style.css').read_text(encoding='utf-8'), 'css')
    style = hashed(site, 'style.css', style.encode())
    names = {'klimora.js': script, 'style.css': style}
    page = filled((HERE / 'index.html').read_text(encoding='utf-8'), form_texts(ui))
    check_form(page, answer_names, choices)
    page = re.sub(r'(?<=")(klimora\.js|style\.css)(?=")',
                  lambda match: names[match[1]], page)
    (site / 'index.html').write_text(page, encoding='utf-8')
    for name in ('manifest.webmanifest', 'sin-script.css'):
        shutil.copyfile(HERE / name, site / name)
    for name in ICONS:
        shutil.copyfile(pathlib.Path(icons) / name, site / 'icons' / name)

    files = sorted(path.relative_to(site).as_posix() for path in site.rglob('*') if path.is_file())
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b'\0' + (site / name).read_bytes())
    worker = (HERE / 'sw.js').read_text(encoding='utf-8')
    worker = worker.replace('{{cache}}', f'{version}-{digest.hexdigest()[:12]}')
    # Offline the page needs itself, what it loads, and the picture it shows.
    offline = ['./', wasm, script, style, 'icons/klimora.svg']
    worker = worker.replace("['{{files}}']", json.dumps(offline))
    (site / 'sw.js').write_text(minified(esbuild, worker, 'js'), encoding='utf-8')

    # Beside each text file, its gzipped copy, for the server to send as it is:
    # zopfli's, some 5 % smaller than gzip -9's, and always the same bytes.
    for path in site.rglob('*'):
        if path.suffix in COMPRESSED:
            subprocess.run([zopfli, path], check=True)


if __name__ == '__main__':
    main()
