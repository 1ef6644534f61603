#!/usr/bin/env python3
"""Pictures of Klimora for a person to look at: the window as it opens, with
the longest total it can show, and that total's detail. Runs the built program on Xvfb under
openbox, the Linux one and, once scripts/windows.sh has built it, the Windows
one under Wine, and types as a user would. Once scripts/web.sh has built the
web page, it is pictured too as a 360-pixel phone shows it, in Chromium,
Firefox and WebKit, light and dark.
Refreshes the README's two pictures, docs/ventana.png and docs/pagina.png,
from them. Prints the pictures' paths.

Usage: screenshots.py [BUILD_DIR [WINDOWS_FOLDER]]
       (defaults: build/test, and build/windows/stage/Klimora-* if there)
"""
import glob
import os
import subprocess
import sys
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
    pictures = [f'{BUILD}/{name}.png', f'{BUILD}/{name}-result.png', f'{BUILD}/{name}-detail.png']
    subprocess.run(['import', '-window', 'root', pictures[0]], check=True)
    # Walls: Tab from the openings box, then Tab twice to "Calcular".
    xdotool('key', 'Tab', 'ctrl+a', 'type', '--', '-3,59538626972463e306')
    xdotool('key', 'Tab', 'Tab', 'space')
    time.sleep(1)
    subprocess.run(['import', '-window', 'root', pictures[1]], check=True)
    xdotool('key', 'ctrl+d')
    time.sleep(1)
    subprocess.run(['import', '-window', 'root', pictures[2]], check=True)
    program.terminate()
    program.wait(30)
    print(*pictures, sep='\n')


def web_pictures(site):
    """The page in the three engines, on a display of its own as tall as the page."""
    subprocess.run(['xvfb-run', '-a', '-s', '-screen 0 1280x2800x24', 'node',
                    'scripts/web_screenshots.mjs', site, BUILD], check=True)


os.chdir(os.path.join(os.path.dirname(__file__), '..'))
subprocess.run(['bash', '-c', 'source scripts/packages.sh && '
                'ensure_packages xvfb openbox xdotool wmctrl imagemagick nginx chromium firefox-esr '
                'webkit2gtk-driver'], check=True)
BUILD = sys.argv[1] if len(sys.argv) > 1 else 'build/test'
windows = sys.argv[2:3] or glob.glob('build/windows/stage/Klimora-*')
open_desktop('800x600x24')
os.environ.update(LOCPATH=f'{BUILD}/tests/locales', LC_ALL='es_ES.UTF-8')
picture([f'{BUILD}/app/klimora'], 'form1')
if windows:
    open_wine_prefix()
    picture(['wine', f'{windows[0]}/Klimora.exe'], 'form1-windows')
# The README's: the window with its result, and the top of the phone's page.
subprocess.run(['convert', f'{BUILD}/form1-result.png', '-trim', '+repage', 'docs/ventana.png'], check=True)
if os.path.isdir('build/web/site'):
    web_pictures('build/web/site')
    subprocess.run(['convert', f'{BUILD}/web-chromium.png', '-crop', '360x1320+0+0', '+repage',
                    'docs/pagina.png'], check=True)
