#!/usr/bin/python3
"""Klimora as a person uses it: the real program on Xvfb under openbox, driven
by XTest events through xdotool and read through AT-SPI, as a screen reader
reads it. Usage, inside a D-Bus session:

    dbus-run-session -- smoke_test.py KLIMORA LOCPATH_FOLDER
"""
import atexit
import os
import subprocess
import sys
import time

PROGRAM, LOCALES = sys.argv[1:3]
children = []
atexit.register(lambda: [child.kill() for child in reversed(children)])


def start(*command, **options):
    process = subprocess.Popen(command, **options)
    children.append(process)
    return process


def wait_for(what, condition, timeout=15):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    sys.exit(f'FAILED: gave up waiting for {what}')


def check(what, seen, expected):
    if seen != expected:
        sys.exit(f'FAILED: {what}: {seen!r}, expected {expected!r}')
    print(f'ok: {what}: {seen!r}')


read_fd, write_fd = os.pipe()
start('Xvfb', '-displayfd', str(write_fd), '-screen', '0', '1024x768x24', '-nolisten', 'tcp',
      pass_fds=[write_fd], stderr=subprocess.DEVNULL)
os.environ['DISPLAY'] = ':' + os.read(read_fd, 16).decode().strip()
start('openbox')
os.environ.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', QT_QPA_PLATFORM='xcb',
                  LOCPATH=LOCALES, LC_ALL='es_ES.UTF-8')
import pyatspi  # noqa: E402  (it needs the display chosen above)


def xdotool(*arguments):
    subprocess.run(['xdotool', *arguments], check=True)


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

roof, sunny, lights = yes.values()
click(roof)
wait_for('the length box enabled', lambda: length.getState().contains(pyatspi.STATE_ENABLED))
answers = {length: '4', width: '5', openings: '3', walls: '9', occupants: '2'}
for box, text in answers.items():
    type_into(box, text)
click(sunny)
click(lights)
click(calcular)
total = wait_for('a total', lambda: find(window, pyatspi.ROLE_LABEL, description='frigorias/hora')
                 .name.split(' ')[0] or None)
check('the total', total, '3049')

type_into(walls, '')
click(calcular)
alert = wait_for('the error box', lambda: find(app, pyatspi.ROLE_ALERT))
click(find(alert, pyatspi.ROLE_PUSH_BUTTON, 'Aceptar'))
wait_for('the error box gone', lambda: find(app, pyatspi.ROLE_ALERT) is None)
wait_for('the focus in the box to mend', lambda: focused(walls))
kept = {box.name: text_of(box) for box in answers if box is not walls}
check('the other answers', kept, {box.name: text for box, text in answers.items()
                                  if box is not walls})

xdotool('key', 'alt+F4')
wait_for('the program to end', lambda: klimora.poll() is not None)
check('exit status', klimora.returncode, 0)
print(f'passed in {time.monotonic() - started:.1f} s')
