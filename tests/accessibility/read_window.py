#!/usr/bin/python3
# Reads the main window of accessible_window through AT-SPI, as a screen
# reader does: the log box's text must hold the run's summary line, and
# every button and check box must carry its caption as its name. Then a
# click into the log box and Ctrl+A, from xdotool, must make its text the
# X11 primary selection (read back with xclip).
# Usage: read_window.py CAPTIONS_FILE PID
import subprocess
import sys
import time

import pyatspi

captions_file, pid = sys.argv[1], int(sys.argv[2])


def find_application():
    for _ in range(100):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                pass
        time.sleep(0.2)
    return None


def walk(node, found):
    try:
        role = node.getRole()
    except Exception:
        return
    found.append(node)
    for child in node:
        if child is not None:
            walk(child, found)


app = find_application()
if app is None:
    print("read_window: the program never showed on the accessibility bus")
    sys.exit(1)
nodes = []
walk(app, nodes)
failures = []

logs = [n for n in nodes if n.name == "ログ"]
if not logs:
    failures.append("no log box named ログ")
else:
    text = logs[0].queryText()
    content = text.getText(0, -1)
    if "==条件に一致したファイルは全て変換されました。==" not in content:
        failures.append("the log box's text lacks the summary: %r" % content[-200:])
    if text.characterCount != len(content):
        failures.append("the count of characters is not the text's")

summary = "==条件に一致したファイルは全て変換されました。=="
if logs:
    x, y, width, height = logs[0].queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    windows = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                             capture_output=True, text=True).stdout.split()
    if windows:
        subprocess.run(["xdotool", "windowfocus", "--sync", windows[0]], check=False)
    subprocess.run(["xdotool", "mousemove", str(x + width // 2), str(y + height // 2),
                    "click", "1", "key", "ctrl+a"], check=False)
    primary = ""
    for _ in range(20):
        time.sleep(0.1)
        primary = subprocess.run(["xclip", "-o", "-selection", "primary"],
                                 capture_output=True, text=True).stdout
        if summary in primary:
            break
    if summary not in primary:
        failures.append("Ctrl+A in the log box left the primary selection %r" % primary[-200:])

names = {n.name for n in nodes
         if n.getRole() in (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX,
                            pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON)}
with open(captions_file, encoding="utf-8") as f:
    captions = [line.rstrip("\n") for line in f if line.strip()]
if not captions:
    failures.append("no captions were written")
for caption in captions:
    if caption not in names:
        failures.append("no button or check box is named %r" % caption)

for failure in failures:
    print("FAIL:", failure)
if failures:
    sys.exit(1)
print("read_window: the log box and %d captions read through AT-SPI" % len(captions))
