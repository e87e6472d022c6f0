#!/usr/bin/env python3
"""End-to-end key check on a real X server (Xvfb).

Starts kexora-keydemo with the Russian layout on a private Xvfb display, types
on it with xdotool and with raw keycodes (kexora-xtest, for the right-hand
modifiers that xdotool cannot press alone), and compares the key events the
demo reports: scan codes, virtual-key codes and characters. The desktop's own
layout stays US, so the letters prove that the program's layout decides the
character. Finally it holds Shift and takes a screenshot of the keyboard.

Usage: xvfb_keys.py DEMO XTEST [SCREENSHOT]
Exits 77 (skipped) when Xvfb or xdotool is missing.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77


def find_display():
    for n in range(91, 120):
        if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return f":{n}"
    return None


class Session:
    def __init__(self, demo, xtest, display):
        self.xtest = xtest
        self.env = dict(os.environ, DISPLAY=display)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env["ASAN_OPTIONS"] = "detect_leaks=0"
        self.log = tempfile.NamedTemporaryFile("w+", suffix=".log", delete=False)
        self.demo = subprocess.Popen([demo, "--language", "Russian"], env=self.env,
                                     stdout=self.log, stderr=subprocess.DEVNULL)
        self.read = 0

    def lines(self):
        with open(self.log.name, encoding="utf-8") as f:
            return [line.rstrip("\n") for line in f]

    def wait_lines(self, count, timeout=5.0):
        end = time.time() + timeout
        while time.time() < end:
            lines = self.lines()
            if len(lines) >= self.read + count:
                break
            time.sleep(0.05)
        time.sleep(0.1)  # anything beyond the expected
        new = self.lines()[self.read:]
        self.read += len(new)
        return new

    def run(self, *args):
        subprocess.run(list(args), env=self.env, check=True, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def xdotool(self, *keys):
        self.run("xdotool", "key", "--delay", "30", *keys)

    def raw(self, *events):
        self.run(self.xtest, *events)

    def close(self):
        self.demo.terminate()
        try:
            self.demo.wait(5)
        except subprocess.TimeoutExpired:
            self.demo.kill()
        os.unlink(self.log.name)


def event(sc, vk, ch, down):
    text = bytes([ch]).decode("cp1251") if ch else ""
    return f"sc={sc} vk={vk} ch={ch:02x} down={int(down)} text={text}"


def tap(sc, vk, ch=0):
    return [event(sc, vk, ch, True), event(sc, vk, ch, False)]


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    demo, xtest = sys.argv[1], sys.argv[2]
    screenshot = sys.argv[3] if len(sys.argv) > 3 else None
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            print(f"{tool} not found: skipped")
            return SKIP
    display = find_display()
    if not display:
        print("no free display: skipped")
        return SKIP

    server = subprocess.Popen(["Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten",
                               "tcp"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    session = None
    failures = 0
    try:
        for _ in range(100):
            if os.path.exists(f"/tmp/.X11-unix/X{display[1:]}"):
                break
            time.sleep(0.05)
        session = Session(demo, xtest, display)
        if session.wait_lines(1, timeout=15) != ["ready"]:
            print("the demo did not start")
            return 1
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                 "kexora-keydemo"],
                                env=session.env, check=True, capture_output=True,
                                text=True).stdout.split()[0]
        session.run("xdotool", "windowfocus", window)
        time.sleep(0.3)

        # (what is done, expected events). Characters are Windows-1251 bytes of
        # the Russian layout: the key A types ф (F4), with Shift Ф (D4).
        steps = [
            ("letter a", lambda: session.xdotool("a"), tap(30, 65, 0xF4)),
            ("letters q and p", lambda: session.xdotool("q", "p"),
             tap(16, 81, 0xE9) + tap(25, 80, 0xE7)),
            ("left Shift + a", lambda: session.run("xdotool", "keydown", "shift", "key", "a",
                                                   "keyup", "shift"),
             [event(42, 160, 0, True), event(30, 65, 0xD4, True),
              event(30, 65, 0xD4, False), event(42, 160, 0, False)]),
            ("right Shift + a", lambda: session.raw("62:down", "38:down", "38:up", "62:up"),
             [event(54, 161, 0, True), event(30, 65, 0xD4, True),
              event(30, 65, 0xD4, False), event(54, 161, 0, False)]),
            ("right Shift + 3 (№)", lambda: session.raw("62:down", "12", "62:up"),
             [event(54, 161, 0, True)] + tap(4, 51, 0xB9) + [event(54, 161, 0, False)]),
            ("left Ctrl", lambda: session.xdotool("Control_L"), tap(29, 162)),
            ("right Ctrl", lambda: session.raw("105"), tap(-29, 163)),
            ("left Alt", lambda: session.raw("64"), tap(56, 164)),
            ("right Alt", lambda: session.raw("108"), tap(-56, 165)),
            ("left Win", lambda: session.raw("133"), tap(-91, 91)),
            ("arrows", lambda: session.xdotool("Up", "Down", "Left", "Right"),
             tap(-72, 38) + tap(-80, 40) + tap(-75, 37) + tap(-77, 39)),
            ("keypad 8 without Num Lock", lambda: session.raw("80"), tap(72, 38)),
            ("Page Up and Page Down", lambda: session.xdotool("Prior", "Next"),
             tap(-73, 33) + tap(-81, 34)),
            ("F-keys", lambda: session.xdotool("F1", "F5", "F10", "F11"),
             tap(59, 112) + tap(63, 116) + tap(68, 121) + tap(87, 122)),
            ("Escape and Enter", lambda: session.xdotool("Escape", "Return"),
             tap(1, 27) + tap(28, 13)),
            ("Caps Lock then a", lambda: session.xdotool("Caps_Lock", "a", "Caps_Lock"),
             tap(58, 20) + tap(30, 65, 0xD4) + tap(58, 20)),
        ]
        for name, action, expected in steps:
            action()
            got = session.wait_lines(len(expected))
            status = "ok" if got == expected else "FAILED"
            print(f"{status}: {name}")
            for line in got:
                print(f"    {line}")
            if got != expected:
                failures += 1
                print("  expected:")
                for line in expected:
                    print(f"    {line}")

        # A held key: a stream of presses and one release.
        session.raw("38:down", "sleep:1200", "38:up")
        got = session.wait_lines(2)
        presses = [l for l in got if l == event(30, 65, 0xF4, True)]
        releases = [l for l in got if l == event(30, 65, 0xF4, False)]
        held_ok = len(presses) >= 3 and releases == [got[-1]] and len(presses) + 1 == len(got)
        print(f"{'ok' if held_ok else 'FAILED'}: held a: {len(presses)} presses, "
              f"{len(releases)} release")
        failures += not held_ok

        if screenshot and shutil.which("import"):
            session.raw("50:down", "sleep:400")
            session.run("import", "-window", "root", screenshot)
            session.raw("50:up")
            print(f"screenshot with Shift held: {screenshot}")
    finally:
        if session:
            session.close()
        server.terminate()
        server.wait(5)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
