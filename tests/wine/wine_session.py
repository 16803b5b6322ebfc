"""Running the stub under Wine from a test: one shared prefix, programs started
and watched, windows looked for with xdotool on the test's X display."""
import glob
import os
import shutil
import subprocess
import time

PREFIX_READY = ".tw-prefix-ready"


def wine_environment(prefix, **extra):
    env = dict(os.environ)
    env.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
    env.update(extra)
    return env


def make_prefix(prefix, timeout):
    """Makes the Wine prefix once; a later call finds it ready."""
    if os.path.exists(os.path.join(prefix, PREFIX_READY)):
        return
    shutil.rmtree(prefix, ignore_errors=True)
    env = wine_environment(prefix)
    subprocess.run(["wineboot", "-i"], env=env, timeout=timeout, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], env=env, timeout=timeout, check=True)
    open(os.path.join(prefix, PREFIX_READY), "w").close()


# A program that stays for the whole session; see start_session.
_desktop_keeper = None


def start_session(prefix, attempts=3):
    """Starts a Wine session on this X display that lasts until end_session.

    Wine closes its desktop a moment after the last program on it ends, and
    the next program starts a new one. Now and then (seen where 32-bit code is
    emulated) a new desktop comes up without its display driver, and no window
    can open in it. So one desktop serves the whole session: a command
    interpreter that waits on its input keeps it, and with it the Wine server.
    The desktop is checked by its own windows on the display, with a fresh
    start if they are missing."""
    global _desktop_keeper
    for _ in range(attempts):
        end_session(prefix)
        # The session and its desktop take their settings from this first
        # program: without the DLL overrides the desktop keeps its usual
        # windows, which show that it works.
        env = wine_environment(prefix)
        del env["WINEDLLOVERRIDES"]
        _desktop_keeper = subprocess.Popen(["wine", "cmd"], env=env, stdin=subprocess.PIPE,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if wait_until(lambda: find_windows("explorer\\.exe", visible_only=False, by="--class"), 300, pause=0.5):
            return
    raise RuntimeError(f"Wine's desktop came up without a display driver in {attempts} sessions")


def end_session(prefix):
    """Ends every program of the prefix: the next test may have another X display."""
    global _desktop_keeper
    if _desktop_keeper is not None:
        _desktop_keeper.stdin.close()
        _desktop_keeper = None
    env = wine_environment(prefix)
    subprocess.run(["wineserver", "-k"], env=env, timeout=120, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["wineserver", "-w"], env=env, timeout=120, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def temp_folder(prefix):
    """The Linux side of the Windows temporary folder of the prefix's user."""
    found = glob.glob(os.path.join(prefix, "drive_c", "users", "*", "Temp"))
    found = [f for f in found if os.path.basename(os.path.dirname(f)) != "Public"]
    if not found:
        raise RuntimeError(f"no temporary folder in the Wine prefix {prefix}")
    return found[0]


def windows_path(path):
    """Wine's Z: drive is the Linux root."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def find_windows(pattern, visible_only=True, by="--name"):
    """Window ids whose name (or, with by="--class", class) matches the pattern."""
    command = ["xdotool", "search"]
    if visible_only:
        command.append("--onlyvisible")
    command += [by, pattern]
    result = subprocess.run(command, capture_output=True, text=True, timeout=30)
    return result.stdout.split()


def press_enter(window):
    """Closes a message box with its default button. There is no window
    manager under Xvfb, so the box gets the focus directly, not by activation."""
    subprocess.run(["xdotool", "windowfocus", window], timeout=30,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    subprocess.run(["xdotool", "key", "--clearmodifiers", "Return"], timeout=30,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], timeout=60,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class WineProgram:
    """A Windows program started under Wine; its exit code is Wine's."""

    def __init__(self, prefix, program, args=(), **env):
        self.process = subprocess.Popen(["wine", program, *args], env=wine_environment(prefix, **env),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise


def wait_until(condition, timeout, pause=0.1):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(pause)
    return None
