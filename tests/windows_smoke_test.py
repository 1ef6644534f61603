#!/usr/bin/python3
# Klimora for Windows as a person uses it: installed silently into a fresh
# Wine prefix (and once more over itself, as an upgrade), started from where
# the installer put it, answered with the mouse and keyboard through xdotool,
# read off the screen with tesseract, closed, and uninstalled.
#
#     windows_smoke_test.py SETUP_EXE
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '..', 'scripts'))
from desktop_session import (check, open_desktop, open_wine_prefix, start,  # noqa: E402
                             temporary_folder, wait_for, xdotool)

SETUP = sys.argv[1]
UNINSTALL_KEY = r'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Klimora'
SCALE = 3  # tesseract reads the 8-point face best enlarged
shot = f'{temporary_folder()}/screen.png'
open_desktop()
drive = f'{open_wine_prefix()}/drive_c'
folder = f'{drive}/Program Files/Klimora'
shortcut = f'{drive}/ProgramData/Microsoft/Windows/Start Menu/Programs/Klimora.lnk'


def wine(*command):
    done = subprocess.run(['wine', *command], stdout=subprocess.PIPE, text=True, timeout=120)
    subprocess.run(['wineserver', '-w'], check=True, timeout=120)
    return done


def words():
    """The words on the screen, with their centres."""
    # import, not convert x:root, which leaves newer windows black.
    subprocess.run(['import', '-window', 'root', shot], check=True)
    subprocess.run(['convert', shot, '-resize', f'{SCALE * 100}%', '-colorspace', 'Gray',
                    '-threshold', '60%', shot], check=True)
    # Sparse text: the answers stand apart from their questions.
    tsv = subprocess.run(['tesseract', shot, '-', '--psm', '11', 'tsv'], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, text=True, check=True).stdout
    rows = [row.split('\t') for row in tsv.splitlines()[1:]]
    return [(r[11], (int(r[6]) + int(r[8]) // 2) // SCALE, (int(r[7]) + int(r[9]) // 2) // SCALE)
            for r in rows if len(r) == 12 and r[11].strip()]


def shown(text):
    wait_for(f'{text!r} on the screen',
             lambda: text.lower() in ' '.join(w for w, _, _ in words()).lower(), 30)
    print(f'ok: the screen shows {text!r}')


def click_below(word, nth=0, below=0):
    """Clicks the nth word on the screen that reads so, top first."""
    places = wait_for(f'{word!r} on the screen',
                      lambda: sorted((y, x) for w, x, y in words() if w.lower() == word.lower())[nth:], 30)
    y, x = places[0]
    xdotool('mousemove', str(x), str(y + below), 'click', '1')


def answer(length, width, openings, walls, occupants):
    click_below('Largo', below=18)  # the length box, under its label
    for text in (length, width, openings, walls, occupants):
        xdotool('key', 'ctrl+a', 'type', text)
        xdotool('key', 'Tab')
    xdotool('key', 'space')  # the Tab after the last box reaches "Calcular"


def window_named(pattern):
    return subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', pattern],
                          stdout=subprocess.PIPE, check=False).stdout.split()


def use_klimora(locale, separator):
    os.environ['LC_ALL'] = locale
    klimora = start('wine', r'C:\Program Files\Klimora\Klimora.exe')
    wait_for('the window', lambda: window_named('Klimora'), 60)
    for yes in range(3):
        click_below('Si', yes)
    answer('4', '5', '3', '9', '2')
    shown('3049 frigorias/hora')

    for no in (1, 2):
        click_below('No', no)
    answer(f'3{separator}3', f'4{separator}1', '0', '0', '0')
    shown(f'338{separator}24999332428')

    # Empty the walls box: the error box, then the focus back in that box.
    xdotool('key', 'shift+Tab', 'shift+Tab', 'ctrl+a', 'BackSpace', 'Tab', 'Tab', 'space')
    wait_for('the error box', lambda: window_named('^Klimora$'))
    shown('Error 13')
    click_below('Aceptar')
    wait_for('the error box gone', lambda: not window_named('^Klimora$'))
    xdotool('type', '9')
    xdotool('key', 'Tab', 'Tab', 'space')
    shown(f'788{separator}24999332428')

    xdotool('key', 'alt+F4')
    check('exit status', klimora.wait(30), 0)


# Twice: the second time over the first, as an upgrade is.
for _ in range(2):
    check('silent install', wine(SETUP, '/S').returncode, 0)
check('installed', all(map(os.path.isfile, (f'{folder}/Klimora.exe', shortcut))), True)
entry = wine('reg', 'query', UNINSTALL_KEY, '/v', 'DisplayVersion').stdout
check('entry among the installed programs', '1.00.0002' in entry, True)

use_klimora('es_ES.UTF-8', ',')
use_klimora('en_US.UTF-8', '.')

check('silent uninstall', wine(f'{folder}/Desinstalar.exe', '/S').returncode, 0)
left = subprocess.run(['find', drive, '-iname', '*klimora*'], stdout=subprocess.PIPE,
                      text=True, check=True).stdout.split('\n')[:-1]
check('files left behind', left, [])
check('entry left behind', wine('reg', 'query', UNINSTALL_KEY).returncode != 0, True)
