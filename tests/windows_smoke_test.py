#!/usr/bin/python3
# Klimora for Windows as a person uses it, in a fresh Wine prefix: an older
# build installed into a folder of the user's choosing, this build installed
# over it, the program started where the installer put it, answered with the
# mouse and keyboard through xdotool, read off the screen with tesseract,
# closed, and uninstalled around a file of the user's own. Then the portable
# zip unpacked and run, and the installer's folder guard, case by case.
#
#     windows_smoke_test.py BUILD_DIR   (as windows_package.sh left it)
import contextlib
import glob
import hashlib
import os
import pathlib
import shutil
import subprocess
import sys
import time
import zipfile

from desktop_session import (check, end_wine, open_desktop, open_wine_prefix, start,
                             temporary_folder, wait_for, wine_processes, xdotool)

BUILD = sys.argv[1]
STAGE = glob.glob(f'{BUILD}/stage/Klimora-*')[0]
SETUP = glob.glob(f'{BUILD}/Klimora-*-setup.exe')[0]
ZIP = glob.glob(f'{BUILD}/Klimora-*-portable.zip')[0]
# The installer's exit codes, as docs/windows.md lists them.
MISSING_UNINSTALLER, PROGRAM_OPEN, FOLDERS_TAKEN = 3, 32, 145
OURS = ['Desinstalar.exe', 'Klimora-instalado.txt']  # written by the installer
UNINSTALL_KEY = r'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Klimora'
SCALE = 3  # tesseract reads the 8-point face best enlarged
scratch = temporary_folder()
shot = f'{scratch}/screen.png'
open_desktop()
prefix = open_wine_prefix()
drive = f'{prefix}/drive_c'
# Where the user put the older version (/D takes no quotes, so no spaces).
chosen = r'C:\Programas\Klimora'
folder = f'{drive}/Programas/Klimora'
shortcut = f'{drive}/ProgramData/Microsoft/Windows/Start Menu/Programs/Klimora.lnk'


def wine(*command):
    done = subprocess.run(['wine', *command], stdout=subprocess.PIPE, text=True, timeout=120)
    subprocess.run(['wineserver', '-w'], check=True, timeout=120)
    return done


def files(root):
    return sorted(os.path.relpath(os.path.join(top, name), root)
                  for top, _, names in os.walk(root) for name in names)


def contents(root):
    """Each file under root with the sha256 of its bytes."""
    def digest(name):
        with open(os.path.join(root, name), 'rb') as file:
            return hashlib.sha256(file.read()).hexdigest()
    return {name: digest(name) for name in files(root)}


def older_installer():
    """This build as version 1.0.1, with a file this one no longer has."""
    extra = f'{scratch}/extra'
    os.makedirs(extra)
    with open(f'{extra}/obsoleto.txt', 'w') as file:
        file.write('1.0.1\n')
    subprocess.run(['cpack', '-G', 'NSIS64', '--config', f'{BUILD}/CPackConfig.cmake',
                    '-B', f'{scratch}/older', '-D', 'CPACK_PACKAGE_VERSION=1.0.1',
                    '-D', 'CPACK_KLIMORA_DISPLAY_VERSION=1.00.0001',
                    '-D', f'CPACK_INSTALLED_DIRECTORIES={extra};.'],
                   check=True, stdout=subprocess.DEVNULL)
    return f'{scratch}/older/Klimora-1.0.1-setup.exe'


def lines():
    """The lines on the screen, each a list of its words with their boxes."""
    # import, not convert x:root, which leaves newer windows black.
    subprocess.run(['import', '-window', 'root', shot], check=True)
    subprocess.run(['convert', shot, '-resize', f'{SCALE * 100}%', '-colorspace', 'Gray',
                    '-threshold', '60%', shot], check=True)
    # Sparse text: the answers stand apart from their questions.
    tsv = subprocess.run(['tesseract', shot, '-', '--psm', '11', 'tsv'], stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, text=True, check=True).stdout
    found = {}
    for row in (row.split('\t') for row in tsv.splitlines()[1:]):
        if len(row) == 12 and row[11].strip():
            found.setdefault(tuple(row[2:5]), []).append((row[11], *map(int, row[6:10])))
    return list(found.values())


def shown(text):
    """Waits for the words of text, whole and in order, on one line."""
    wanted = text.split()
    seen = []

    def on_a_line():
        seen[:] = [[word for word, *_ in words] for words in lines()]
        return any(line[i:i + len(wanted)] == wanted for line in seen for i in range(len(line)))
    wait_for(lambda: f'{text!r} on the screen, which shows {seen}', on_a_line, 30)
    print(f'ok: the screen shows {text!r}')


def boxes(word):
    """Where the word stands on the screen, top first, with the word before it."""
    found = [(box, words[i - 1][0] if i > 0 else '')
             for words in lines() for i, (seen, *box) in enumerate(words)
             if seen.lower() == word.lower()]
    return sorted(found, key=lambda found: (found[0][1], found[0][0]))


def click_below(word, nth=0, below=0):
    """Clicks the nth word on the screen that reads so, top first."""
    left, top, width, height = wait_for(f'{word!r} on the screen',
                                        lambda: boxes(word)[nth:], 30)[0][0]
    xdotool('mousemove', str((left + width // 2) // SCALE),
            str((top + height // 2) // SCALE + below), 'click', '1')


def answer(length, width, openings, walls, occupants):
    click_below('Largo', below=18)  # the length box, under its label
    for text in (length, width, openings, walls, occupants):
        xdotool('key', 'ctrl+a', 'type', text)
        xdotool('key', 'Tab')
    xdotool('key', 'space')  # the Tab after the last box reaches "Calcular"


def window_named(pattern):
    return subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', pattern],
                          stdout=subprocess.PIPE, check=False).stdout.split()


def open_klimora(program):
    klimora = start('wine', program)
    window = wait_for('the window', lambda: window_named('Klimora'), 60)[0]
    subprocess.run(['wmctrl', '-i', '-r', window, '-b', 'add,maximized_vert,maximized_horz'],
                   check=True)
    # A window that may grow does so within moments.
    sizes = {xdotool('getwindowgeometry', window).split('Geometry: ')[1].strip()
             for _ in range(20) if not time.sleep(0.1)}
    check('sizes after a request to maximise', sizes, {'496x415'})
    for yes in range(3):
        click_below('Si', yes)
    answer('4', '5', '3', '9', '2')
    shown('3049 frigorias/hora')
    return klimora


def close(klimora):
    xdotool('key', 'alt+F4')
    check('exit status', klimora.wait(30), 0)


def use_klimora(locale, separator):
    os.environ['LC_ALL'] = locale
    klimora = open_klimora(rf'{chosen}\Klimora.exe')

    for no in (1, 2):
        click_below('No', no)
    answer(f'3{separator}3', f'4{separator}1', '0', '0', '0')
    shown(f'338{separator}24999332428 frigorias/hora')

    # Empty the walls box: the error box, then the focus back in that box.
    xdotool('key', 'shift+Tab', 'shift+Tab', 'ctrl+a', 'BackSpace', 'Tab', 'Tab', 'space')
    wait_for('the error box', lambda: window_named('^Klimora$'))
    shown('Error 13: No')
    # "No" on an answer and in the message: the same face draws both the same.
    sizes = {before == '13:': tuple(box[2:]) for box, before in boxes('No')}
    check('the error box writes "No" as the window does', sizes[True], sizes[False])
    click_below('Aceptar')
    wait_for('the error box gone', lambda: not window_named('^Klimora$'))
    xdotool('type', '9')
    xdotool('key', 'Tab', 'Tab', 'space')
    shown(f'788{separator}24999332428 frigorias/hora')

    if locale.startswith('es'):
        before = contents(folder)
        upgrade = subprocess.run(['wine', SETUP, '/S'], timeout=120).returncode
        check('a silent upgrade while Klimora is open', upgrade, PROGRAM_OPEN)
        # Run where it is, the uninstaller waits and gives its status.
        uninstall = subprocess.run(['wine', f'{folder}/Desinstalar.exe', '/S', f'_?={chosen}'],
                                   timeout=120).returncode
        check('a silent uninstall while Klimora is open', uninstall, PROGRAM_OPEN)
        check('files unchanged by those', contents(folder) == before, True)

    close(klimora)


check('older version installed', wine(older_installer(), '/S', f'/D={chosen}').returncode, 0)
check('its extra file', os.path.isfile(f'{folder}/obsoleto.txt'), True)
check('upgrade', wine(SETUP, '/S').returncode, 0)
check('files installed', files(folder), sorted(files(STAGE) + OURS))
check('each as built', contents(folder) == dict(contents(STAGE), **{
    name: contents(folder)[name] for name in OURS}), True)
check('installed where the earlier version was', os.path.exists(f'{drive}/Program Files/Klimora'),
      False)
check('shortcut', os.path.isfile(shortcut), True)
entry = wine('reg', 'query', UNINSTALL_KEY, '/v', 'DisplayVersion').stdout
check('entry among the installed programs', '1.00.0002' in entry.split(), True)

use_klimora('es_ES.UTF-8', ',')
use_klimora('en_US.UTF-8', '.')

with open(f'{folder}/mis notas.txt', 'w') as notes:
    notes.write('Salón: 3049\n')
wine(f'{folder}/Desinstalar.exe', '/S')  # its status is its copy's in %TEMP%
check('left in the folder', files(folder), ['mis notas.txt'])
left = subprocess.run(['find', drive, '-iname', '*klimora*', '-not', '-path', folder],
                      stdout=subprocess.PIPE, text=True, check=True).stdout.split('\n')[:-1]
check('files left elsewhere', left, [])
check('entry left behind', wine('reg', 'query', UNINSTALL_KEY).returncode != 0, True)

# The portable zip, unpacked where a Spanish user might keep it.
tools = f'{drive}/Herramientas/Climatización'
with zipfile.ZipFile(ZIP) as archive:
    archive.extractall(tools)
(top,) = os.listdir(tools)
check('the zip holds the folder as built', contents(f'{tools}/{top}') == contents(STAGE), True)
close(open_klimora(f'{tools}/{top}/Klimora.exe'))

# The folder guard: another program's files are never written over or
# removed, whatever the folder chosen or the registry says.
other = f'{drive}/OtraApp'
theirs = {}


def other_program(where, names=('Qt6Core.dll', 'otra.exe')):
    """Another program's files, by default with a DLL named as one of Klimora's."""
    os.makedirs(where, exist_ok=True)
    for name in names:
        with open(f'{where}/{name}', 'wb') as file:
            file.write(b'otro programa\n')
        theirs[f'{where}/{name}'] = b'otro programa\n'


def stale_entry():
    other_program(other)
    wine('reg', 'add', UNINSTALL_KEY, '/v', 'InstallLocation', '/d', r'C:\OtraApp', '/f')


def sharing_an_earlier_install():
    wine(SETUP, '/S', r'/D=C:\OtraApp')
    other_program(other, ['otra.exe'])


def without_its_uninstaller():
    wine(SETUP, '/S', r'/D=C:\OtraApp')
    os.remove(f'{other}/Desinstalar.exe')


for what, prepare, arguments, status, klimora in [
    ('a stale entry naming another program\'s folder', stale_entry, [], 0,
     f'{drive}/Program Files/Klimora'),
    ('another program\'s folder chosen', lambda: other_program(other), [r'/D=C:\OtraApp'], 0,
     f'{other}/Klimora'),
    ('it and its Klimora folder both taken', lambda: other_program(f'{other}/Klimora'),
     [r'/D=C:\OtraApp'], FOLDERS_TAKEN, None),
    ('an earlier install whose folder another program now shares', sharing_an_earlier_install, [],
     0, f'{other}/Klimora'),
    ('an earlier install without its uninstaller', without_its_uninstaller, [], MISSING_UNINSTALLER,
     None),
    ('an earlier install sharing its folder, whose Klimora folder is taken',
     lambda: (sharing_an_earlier_install(), other_program(f'{other}/Klimora')), [], FOLDERS_TAKEN, None),
]:
    theirs.clear()
    prepare()
    before = contents(other)
    check(f'{what}: status', wine(SETUP, '/S', *arguments).returncode, status)
    if klimora:
        check(f'{what}: installed in', os.path.isfile(f'{klimora}/Klimora.exe'), True)
        wine(f'{klimora}/Desinstalar.exe', '/S')
    else:
        installed = os.path.exists(f'{drive}/Program Files/Klimora')
        check(f'{what}: nothing changed', (contents(other) == before, installed), (True, False))
    left = {path: pathlib.Path(path).read_bytes() for path in theirs if os.path.isfile(path)}
    check(f'{what}: the other program\'s files', left, theirs)
    shutil.rmtree(other, ignore_errors=True)
    wine('reg', 'delete', UNINSTALL_KEY, '/f')

# An uninstaller that the registry no longer names leaves the current
# install's shortcut and entry.
wine(SETUP, '/S', r'/D=C:\OtraApp')
wine('reg', 'delete', UNINSTALL_KEY, '/f')
check('an install beside a forgotten one', wine(SETUP, '/S').returncode, 0)
wine(f'{other}/Desinstalar.exe', '/S')
check('the current install\'s shortcut', os.path.isfile(shortcut), True)
check('its entry', wine('reg', 'query', UNINSTALL_KEY).returncode, 0)


def programs_running():
    """What still runs in the prefix, less Wine's own services."""
    services = ('wineserver', 'services.exe', 'winedevice.exe', 'plugplay.exe', 'explorer.exe',
                'rpcss.exe', 'svchost.exe', 'conhost.exe')
    commands = []
    for pid in wine_processes(prefix):
        with contextlib.suppress(OSError), open(f'/proc/{pid}/cmdline', 'rb') as cmdline:
            commands.append(cmdline.read().replace(b'\0', b' ').decode(errors='replace').strip())
    return [command for command in commands if not any(s in command.lower() for s in services)]


check('programs still running before Wine is ended', programs_running(), [])
check('Wine processes left running', end_wine(prefix), [])
