#!/usr/bin/python3
"""Klimora as a person uses it: the real program on Xvfb under openbox, driven
by XTest events through xdotool and read through AT-SPI, while Orca listens
and speaks into its log. Usage, inside a D-Bus session:

    dbus-run-session -- smoke_test.py KLIMORA LOCPATH_FOLDER
"""
import os
import subprocess
import sys
import time

from desktop_session import check, open_desktop, start, temporary_folder, wait_for, xdotool

PROGRAM, LOCALES = sys.argv[1:3]
home = temporary_folder()
open_desktop()
os.environ.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', QT_QPA_PLATFORM='xcb',
                  LOCPATH=LOCALES, LC_ALL='es_ES.UTF-8')

# Orca in a private home: speech-dispatcher speaks through espeak-ng into a
# null sound device, and Orca's log is line-buffered so it can be read live.
os.environ.update(HOME=home, XDG_CONFIG_HOME=f'{home}/.config', XDG_RUNTIME_DIR=home)
for path, text in {
        '.asoundrc': 'pcm.!default { type null }',
        '.config/speech-dispatcher/speechd.conf': 'AudioOutputMethod "alsa"\n'
        'AddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\nDefaultModule espeak-ng',
        'orca/orca-customizations.py': 'from orca import debug\n'
        'debug.debugFile = open(debug.debugFile.name, "a", buffering=1)'}.items():
    os.makedirs(os.path.dirname(f'{home}/{path}'), exist_ok=True)
    with open(f'{home}/{path}', 'w') as file:
        file.write(text + '\n')
start('orca', '--replace', '-u', f'{home}/orca', f'--debug-file={home}/orca.log',
      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
import pyatspi  # noqa: E402  (it needs the display chosen above)


def spoken():
    with open(f'{home}/orca.log', errors='replace') as log:
        return [line.split('SPEECH OUTPUT: ', 1)[1].strip() for line in log
                if 'SPEECH OUTPUT: ' in line]


def orca_says(words, since):
    wait_for(f'Orca to say {words!r}', lambda: any(words in said for said in spoken()[since:]))
    print(f'ok: Orca said {spoken()[since:]}')


def find(root, role, name=None, description=None):
    def matches(node):
        return (node.getRole() == role and name in (None, node.name)
                and description in (None, node.description))
    return pyatspi.findDescendant(root, matches)


def focused(node):
    return node.getState().contains(pyatspi.STATE_FOCUSED)


def text_of(node):
    return node.queryText().getText(0, -1)


def click(node):
    x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool('mousemove', str(x + width // 2), str(y + height // 2), 'click', '1')


def type_into(node, text):
    click(node)
    wait_for(f'the focus in {node.name}', lambda: focused(node))
    xdotool('key', 'ctrl+a', 'BackSpace')
    if text:
        xdotool('type', '--delay', '20', text)
    wait_for(f'{text!r} in {node.name}', lambda: text_of(node) == text)


wait_for('Orca to speak', lambda: os.path.exists(f'{home}/orca.log') and spoken(), 30)
started = time.monotonic()
klimora = start(PROGRAM)
desktop = pyatspi.Registry.getDesktop(0)
app = wait_for('Klimora on the accessibility bus',
               lambda: next((a for a in desktop if a and a.name == 'Klimora'), None))
window = wait_for('its window', lambda: app.childCount and app[0])
boxes = {name: find(window, pyatspi.ROLE_TEXT, name) for name in (
    'Largo', 'Ancho', 'Superficie total de puertas y ventanas al exterior:',
    'Longitud de las paredes que dan al exterior:',
    '¿Cuantas personas suelen ocupar la habitación?')}
length, width, openings, walls, occupants = boxes.values()
yes = {question: find(window, pyatspi.ROLE_RADIO_BUTTON, 'Si', question) for question in (
    '¿Es la vivienda un ático o última planta?', '¿Es la habitación muy soleada?',
    '¿Hay muchas luces, electrodomesticos...?')}
calcular = find(window, pyatspi.ROLE_PUSH_BUTTON, 'Calcular')
wait_for('the focus in the box of question [2]', lambda: focused(openings))

for answer in yes.values():
    click(answer)
wait_for('the length box enabled', lambda: length.getState().contains(pyatspi.STATE_ENABLED))
answers = {length: '4', width: '5', openings: '3', walls: '9', occupants: '2'}
for box, text in answers.items():
    type_into(box, text)
xdotool('key', 'Tab')
wait_for('the focus on Calcular', lambda: focused(calcular))
before = len(spoken())
xdotool('key', 'Return')
total = wait_for('a total', lambda: find(window, pyatspi.ROLE_NOTIFICATION).name)
check('the total', total, '3049 frigorias/hora')
orca_says('3049 frigorias/hora', before)
check('the focus after the press', focused(calcular), True)

# The tooltip's detail, one key away, in text that Orca reads.
before = len(spoken())
xdotool('key', 'ctrl+d')
detail = wait_for('the detail', lambda: find(app, pyatspi.ROLE_TEXT, 'Detalle del cálculo'))
wait_for('the focus in the detail', lambda: focused(detail))
orca_says('Detalle del cálculo', before)
check('the unit that corresponds', '3,5 kW: cubre el 98\xa0%. Es el que corresponde' in text_of(detail), True)
xdotool('key', 'Escape')
wait_for('the detail closed', lambda: find(app, pyatspi.ROLE_TEXT, 'Detalle del cálculo') is None)
wait_for('the focus back on Calcular', lambda: focused(calcular))

type_into(walls, 'x')
before = len(spoken())
click(calcular)
alert = wait_for('the error box', lambda: find(app, pyatspi.ROLE_ALERT))
orca_says('Error 13', before)
click(find(alert, pyatspi.ROLE_PUSH_BUTTON, 'Aceptar'))
wait_for('the error box gone', lambda: find(app, pyatspi.ROLE_ALERT) is None)
wait_for('the focus in the box to mend', lambda: focused(walls))
# With no detail to open, Ctrl+D, which X11's keys bind to deleting, leaves the box alone.
xdotool('key', 'ctrl+d')
time.sleep(0.5)  # what the key might do, AT-SPI tells a moment later
check('the box to mend after Ctrl+D', text_of(walls), 'x')
kept = {box.name: text_of(box) for box in answers if box is not walls}
check('the other answers', kept, {box.name: text for box, text in answers.items()
                                  if box is not walls})

xdotool('key', 'alt+F4')
wait_for('the program to end', lambda: klimora.poll() is not None)
check('exit status', klimora.returncode, 0)
print(f'passed in {time.monotonic() - started:.1f} s')
