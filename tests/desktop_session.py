"""A private desktop for the scripts and tests that drive a real program: Xvfb
under openbox, and for Windows programs a fresh Wine prefix. Every process
started here ends with the script, however it ends: normally, on a failed
check, on SIGTERM, or killed outright."""
import atexit
import ctypes
import os
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

_children = []
_cleanups = []
_PR_SET_PDEATHSIG = 1
_libc = ctypes.CDLL(None, use_errno=True)


def _die_with_parent():
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)


def _end():
    for child in reversed(_children):
        if child.poll() is None:
            child.terminate()
    deadline = time.monotonic() + 5
    for child in reversed(_children):
        try:
            child.wait(max(0.0, deadline - time.monotonic()))
        except subprocess.TimeoutExpired:
            child.kill()
            child.wait()
    for cleanup in reversed(_cleanups):
        cleanup()


atexit.register(_end)
# CTest ends an overrunning test with a signal: leave through atexit.
signal.signal(signal.SIGTERM, lambda *_: sys.exit('FAILED: terminated'))


def start(*command, **options):
    process = subprocess.Popen(command, preexec_fn=_die_with_parent, **options)
    _children.append(process)
    return process


def at_end(cleanup):
    """Runs cleanup once every process started here has ended."""
    _cleanups.append(cleanup)


def temporary_folder():
    folder = tempfile.mkdtemp()
    at_end(lambda: shutil.rmtree(folder, True))
    return folder


def wait_for(what, condition, timeout=15):
    """what: a text, or a function that says what was awaited and last seen."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    sys.exit(f'FAILED: gave up waiting for {what() if callable(what) else what}')


def check(what, seen, expected):
    if seen != expected:
        sys.exit(f'FAILED: {what}: {seen!r}, expected {expected!r}')
    print(f'ok: {what}: {seen!r}')


def xdotool(*arguments):
    return subprocess.run(['xdotool', *arguments], check=True, stdout=subprocess.PIPE,
                          text=True, timeout=30).stdout


def open_desktop(size='1024x768x24'):
    """Starts Xvfb and openbox and points DISPLAY at them."""
    read_fd, write_fd = os.pipe()
    xvfb = start('Xvfb', '-displayfd', str(write_fd), '-screen', '0', size, '-nolisten', 'tcp',
                 '-noreset',
                 pass_fds=[write_fd], stderr=subprocess.DEVNULL)
    # Only Xvfb holds the pipe's writing end now: if it dies, the read ends.
    os.close(write_fd)
    with os.fdopen(read_fd) as pipe:
        ready = select.select([pipe], [], [], 15)[0]
        # The whole line: Xvfb writes its newline apart from the number, and
        # dies if the pipe is closed in between.
        number = pipe.readline().strip() if ready else ''
    if not number:
        sys.exit(f'FAILED: Xvfb gave no display (status {xvfb.poll()})')
    os.environ['DISPLAY'] = ':' + number
    # Under load the number can come before the server takes clients, and
    # openbox gives up at once on a display it cannot open. Without -noreset
    # the server also resets when this check leaves, and can refuse openbox.
    wait_for(lambda: f'Xvfb to take clients (status {xvfb.poll()})', lambda: subprocess.run(
        ['xdotool', 'getdisplaygeometry'], stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL).returncode == 0)
    openbox = [start('openbox')]

    def managed():
        if openbox[0].poll() is not None:
            openbox[0] = start('openbox')
        return subprocess.run(['wmctrl', '-m'], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL).returncode == 0
    # A window mapped before openbox manages the screen is never reported
    # visible to xdotool: a slow start under load must be waited for.
    wait_for(lambda: f'the window manager (Xvfb status {xvfb.poll()})', managed)


def wine_processes(prefix):
    """The processes of a Wine prefix, wineserver and its services included:
    wine forks them away from the process that started it."""
    found = []
    for pid in filter(str.isdigit, os.listdir('/proc')):
        try:
            with open(f'/proc/{pid}/environ', 'rb') as environ:
                if f'WINEPREFIX={prefix}'.encode() in environ.read().split(b'\0'):
                    found.append(int(pid))
        except OSError:
            pass  # ended meanwhile, or not ours to read
    return found


def end_wine(prefix):
    """Ends every process of the prefix; returns any that outlive it."""
    subprocess.run(['wineserver', '-k'], check=False, stderr=subprocess.DEVNULL)
    subprocess.run(['wineserver', '-w'], check=False, timeout=30)
    deadline = time.monotonic() + 10
    while wine_processes(prefix) and time.monotonic() < deadline:
        time.sleep(0.1)
    return wine_processes(prefix)


def open_wine_prefix():
    """Points Wine at a new prefix of its own, ended and removed at the end."""
    prefix = temporary_folder()
    os.environ.update(WINEPREFIX=prefix, WINEDEBUG='-all',
                      # No offer to download Mono or Gecko.
                      WINEDLLOVERRIDES='mscoree,mshtml=')
    at_end(lambda: end_wine(prefix))
    subprocess.run(['wine', 'wineboot', '--init'], check=True, timeout=120)
    subprocess.run(['wineserver', '-w'], check=True, timeout=120)
    return prefix
