#!/usr/bin/env python3
"""Pictures of Klimora for a person to look at: the window as it opens, and
with the longest total it can show. Runs the built program on Xvfb under
openbox, the Linux one and, once scripts/windows.sh has built it, the Windows
one under Wine, and types as a user would. Once scripts/web.sh has built the
web page, it is pictured too as a 360-pixel phone shows it, light and dark.
Prints the pictures' paths.

Usage: screenshots.py [BUILD_DIR [WINDOWS_FOLDER]]
       (defaults: build/test, and build/windows/stage/Klimora-* if there)
"""
import functools
import glob
import http.server
import os
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', 'tests'))
from desktop_session import open_desktop, open_wine_prefix, start, wait_for, xdotool  # noqa: E402


def picture(command, name):
    program = start(*command)
    window = wait_for('the window', lambda: subprocess.run(
        ['xdotool', 'search', '--onlyvisible', '--name', 'Klimora'],
        stdout=subprocess.PIPE, text=True, check=False).stdout.split(), 60)[-1]
    wait_for('the window active', lambda: subprocess.run(
        ['xdotool', 'getactivewindow'], stdout=subprocess.PIPE, text=True,
        check=False).stdout.strip() == window)
    time.sleep(1)  # the window manager draws its frame after activating it
    pictures = [f'{BUILD}/{name}.png', f'{BUILD}/{name}-result.png']
    subprocess.run(['import', '-window', 'root', pictures[0]], check=True)
    # Walls: Tab from the openings box, then Tab twice to "Calcular".
    xdotool('key', 'Tab', 'ctrl+a', 'type', '--', '-3,59538626972463e306')
    xdotool('key', 'Tab', 'Tab', 'space')
    time.sleep(1)
    subprocess.run(['import', '-window', 'root', pictures[1]], check=True)
    program.terminate()
    program.wait(30)
    print(*pictures, sep='\n')


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *_):
        pass


def web_pictures(site):
    handler = functools.partial(QuietHandler, directory=site)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    for name, scheme in (('web', []), ('web-dark', ['--force-dark-mode'])):
        path = f'{BUILD}/{name}.png'
        subprocess.run(['chromium', '--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
                        '--disable-background-networking', '--disable-component-update',
                        '--hide-scrollbars', '--accept-lang=es-ES', *scheme,
                        '--window-size=360,1300', '--virtual-time-budget=3000',
                        f'--screenshot={path}', f'http://localhost:{server.server_port}/'],
                       check=True, stderr=subprocess.DEVNULL)
        print(path)
    server.shutdown()


os.chdir(os.path.join(os.path.dirname(__file__), '..'))
subprocess.run(['bash', '-c', 'source scripts/packages.sh && '
                'ensure_packages xvfb openbox xdotool wmctrl imagemagick chromium'], check=True)
BUILD = sys.argv[1] if len(sys.argv) > 1 else 'build/test'
windows = sys.argv[2:3] or glob.glob('build/windows/stage/Klimora-*')
open_desktop('800x600x24')
os.environ.update(LOCPATH=f'{BUILD}/tests/locales', LC_ALL='es_ES.UTF-8')
picture([f'{BUILD}/app/klimora'], 'form1')
if windows:
    open_wine_prefix()
    picture(['wine', f'{windows[0]}/Klimora.exe'], 'form1-windows')
if os.path.isdir('build/web/site'):
    web_pictures('build/web/site')
