"""Drives a program through an authoring job with real keys and clicks, and counts them.

Steps, one a line ({work} is the job's folder, which is also $HOME):
  file PATH                 an empty file (an asset made by another tool)
  write PATH BYTES          a file holding BYTES (a Python bytes literal): one another editor made
  folder PATH               an empty folder
  conf GROUP KEY VALUE      a setting in the program's INI store, before it starts
  start [ARGS...]           starts the program and waits for its window
  key CHORD...              presses each chord (xdotool names): one action each
  type TEXT                 types TEXT: one action, len(TEXT) typed characters
  click ROLE NAME           clicks the middle of the showing control with that AT-SPI role and
                            accessible name: one action
  window REGEX              waits for a window whose title matches
  shot NAME                 a screenshot into the shots folder
  expect PATH BYTES         after the job: PATH holds exactly BYTES (a Python bytes literal)
"""
import ast
import os
import re
import shlex
import subprocess
import sys
import time

import pyatspi

program, steps_path, work, shots = sys.argv[1:5]
actions = 0
typed = 0
expected = []
app_process = None


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True).stdout


def settle():
    time.sleep(0.4)


def wait_window(pattern, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                               capture_output=True, text=True).stdout.split()
        if found:
            return found[-1]
        time.sleep(0.2)
    sys.exit(f"no window matching {pattern!r}")


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(100):
        for i in range(desktop.childCount):
            child = desktop.getChildAtIndex(i)
            if child is not None and child.name == os.path.basename(program):
                return child
        time.sleep(0.1)
    sys.exit("the program is not on the accessibility bus")


def find(node, role, name):
    try:
        if (node.getRoleName() == role and node.name == name
                and node.getState().contains(pyatspi.STATE_SHOWING)):
            # A control in a pane's hidden tab says it shows, off the screen.
            box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            if box.x >= 0 and box.y >= 0 and box.width > 0:
                return node
        for i in range(node.childCount):
            hit = find(node.getChildAtIndex(i), role, name)
            if hit is not None:
                return hit
    except Exception:
        pass
    return None


def click(role, name):
    for _ in range(30):
        control = find(application(), role, name)
        if control is not None:
            box = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            xdotool("mousemove", "--sync", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1")
            return
        time.sleep(0.2)
    sys.exit(f"no showing {role} named {name!r}")


def conf(group, key, value):
    path = os.path.join(os.environ["XDG_CONFIG_HOME"], "Brisquel", "Brisquel.conf")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    escape = lambda text: text.replace(" ", "%20")
    with open(path, "a", encoding="utf-8") as store:
        store.write(f"[{escape(group)}]\n{escape(key)}={value}\n")


for number, line in enumerate(open(steps_path, encoding="utf-8"), 1):
    line = line.rstrip("\n").replace("{work}", work)
    if not line.strip() or line.lstrip().startswith("#"):
        continue
    verb, _, rest = line.partition(" ")
    if verb == "file":
        os.makedirs(os.path.dirname(os.path.join(work, rest)), exist_ok=True)
        open(os.path.join(work, rest), "wb").close()
    elif verb == "write":
        path, _, literal = rest.partition(" ")
        os.makedirs(os.path.dirname(os.path.join(work, path)), exist_ok=True)
        with open(os.path.join(work, path), "wb") as out:
            out.write(ast.literal_eval(literal))
    elif verb == "folder":
        os.makedirs(os.path.join(work, rest), exist_ok=True)
    elif verb == "conf":
        conf(*shlex.split(rest))
    elif verb == "start":
        app_process = subprocess.Popen([program, *shlex.split(rest)], stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
        # The first window found may be one the program replaces as it starts.
        for attempt in range(10):
            try:
                xdotool("windowactivate", "--sync", wait_window("Brisquel", 30))
                break
            except subprocess.CalledProcessError:
                time.sleep(0.5)
        application()
        settle()
    elif verb == "key":
        for chord in rest.split():
            xdotool("key", "--clearmodifiers", chord)
            actions += 1
            settle()
    elif verb == "type":
        xdotool("type", "--delay", "30", rest)
        actions += 1
        typed += len(rest)
        settle()
    elif verb == "click":
        role, name = shlex.split(rest)
        click(role, name)
        actions += 1
        settle()
    elif verb == "window":
        wait_window(rest)
        settle()
    elif verb == "shot":
        if shots:
            os.makedirs(shots, exist_ok=True)
            subprocess.run(["import", "-window", "root", os.path.join(shots, rest + ".png")], check=True)
    elif verb == "expect":
        path, _, literal = rest.partition(" ")
        expected.append((path, ast.literal_eval(literal)))
    else:
        sys.exit(f"{steps_path}:{number}: unknown step {verb!r}")

time.sleep(1)
if app_process:
    app_process.terminate()
print(f"{actions} actions, {typed} typed characters")
failed = 0
for path, want in expected:
    try:
        got = open(os.path.join(work, path), "rb").read()
    except OSError as error:
        got = None
        print(f"FAIL: {path}: {error}")
    if got is not None and got != want:
        print(f"FAIL: {path} holds {got!r}, not {want!r}")
    failed += got != want
    if got == want:
        print(f"exact: {path}")
sys.exit(1 if failed else 0)
