#!/usr/bin/python3
"""Reads the Linux launcher as a screen reader does, through at-spi (pyatspi, so Debian's own
/usr/bin/python3). Run inside the launcher's session bus: it listens for state changes of links,
then starts the launcher (usage: atspi_reader.py LAUNCHER [ARG...]) and answers commands on stdin,
each answer closed by "end":
  list          link.N=name|role|states|x,y,w,h|actions for the window's drawing area's children
  hit X Y       hit.X,Y=N: the child at that screen point (-1: none)
  do N          do.N=R: the default action of child N (at-spi answers before the action runs)
  events        event=type|name|value for each state change seen so far
  wait          code=N: the launcher's exit code, once it has ended (10 s at most)
"""
import subprocess
import sys

import pyatspi
from gi.repository import GLib

events = []


def out(line):
    sys.stdout.write(line + "\n")
    sys.stdout.flush()


def on_event(event):
    if event.source.getRole() == pyatspi.ROLE_LINK:
        events.append(f"event={event.type}|{event.source.name}|{event.detail1}")


def area():
    """The launcher window's drawing area, or None."""
    for app in pyatspi.Registry.getDesktop(0):
        for window in app or []:
            if window and window.name == "Vantrel Setup" and window.childCount:
                return window.getChildAtIndex(0)
    return None


def answer(command):
    found = area()
    if command[0] == "wait":
        try:
            out(f"code={launcher.wait(10)}")
        except subprocess.TimeoutExpired:
            out("code=running")
    elif found is None:
        out("area=none")
    elif command[0] == "list":
        for n in range(found.childCount):
            link = found.getChildAtIndex(n)
            states = sorted(pyatspi.stateToString(s) for s in link.getState().getStates())
            box = link.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            action = link.queryAction()
            actions = [action.getName(i) for i in range(action.nActions)]
            out(f"link.{n}={link.name}|{link.getRoleName()}|{','.join(states)}|"
                f"{box.x},{box.y},{box.width},{box.height}|{','.join(actions)}")
    elif command[0] == "hit":
        x, y = int(command[1]), int(command[2])
        hit = found.queryComponent().getAccessibleAtPoint(x, y, pyatspi.DESKTOP_COORDS)
        out(f"hit.{x},{y}={hit.getIndexInParent() if hit else -1}")
    elif command[0] == "do":
        out(f"do.{command[1]}={found.getChildAtIndex(int(command[1])).queryAction().doAction(0)}")
    elif command[0] == "events":
        for line in events:
            out(line)
    out("end")


def on_stdin(stream, _condition):
    line = stream.readline()
    if not line:
        loop.quit()
        return False
    answer(line.split())
    return True


pyatspi.Registry.registerEventListener(on_event, "object:state-changed:enabled")
launcher = subprocess.Popen(sys.argv[1:], stdin=subprocess.DEVNULL, stdout=sys.stderr)
out("listening=1")
loop = GLib.MainLoop()
GLib.io_add_watch(sys.stdin, GLib.IO_IN | GLib.IO_HUP, on_stdin)
loop.run()
launcher.kill()
