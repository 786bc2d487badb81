"""What a screen reader finds in the launcher window, and what its default actions do (MSAA under Wine)."""
import subprocess
import time

import harness
from harness import WINE, check, wait_for
from test_linux import Desktop

ROLE_LINK, LINKED, UNAVAILABLE = 0x1E, 0x400000, 0x1
NO_ACTION = "80020003"  # DISP_E_MEMBERNOTFOUND
# The reading order: the left column from the top, then the photograph and the wordmark; each with
# its design bounds (links: left and top; their extent is the text's).
READING = [
    ("Visit Halvik Instruments Web Site", (8, 27, 369, 113)),
    ("What's New in Vantrel v1.0 (PDF)", (22, 191, None, None)),
    ("Install Vantrel for Windows", (22, 234, None, None)),
    ("User Manual", (22, 276, None, None)),
    ("Install Adobe Acrobat Reader", (22, 317, None, None)),
    ("Exit", (22, 407, None, None)),
    ("Fendrik instrument family web page", (456, 27, 130, 278)),
    ("Halvik Instruments: Fendrik instrument family web page", (130, 360, 375, 80)),
]


def children(c, *actions):
    """peek's reading of the client object: {id: (name, role, state, [x, y, w, h], action)}, and the rest."""
    info = c.s.inspect("a11y", *map(str, actions))
    check(info.get("a11y.object") == "00000000", f"AccessibleObjectFromWindow: {info}")
    out = {}
    for n in range(int(info["a11y.count"]) + 1):
        name, role, state, where, action = info[f"a11y.{n}"].split("|")
        out[n] = (name, int(role), int(state, 16), [int(v) for v in where.split(",")], action)
    return out, info


def check_children(c, kids, reader_enabled):
    ox, oy = c.s.origin()
    check(len(kids) == 9, f"{len(kids) - 1} children")
    for n, (name, (left, top, width, height)) in enumerate(READING, start=1):
        got_name, role, state, (x, y, w, h), action = kids[n]
        greyed = n == 5 and not reader_enabled
        check((got_name, role) == (name, ROLE_LINK), f"child {n}: {kids[n]}")
        check(state == LINKED | (UNAVAILABLE if greyed else 0), f"child {n} ({name}): state {state:x}")
        check(action == (NO_ACTION if greyed else "Jump"), f"child {n} ({name}): default action {action}")
        check((x - ox, y - oy, w, h) == (left, top, width or w, height or h) and w > 0 and h > 0,
              f"child {n} ({name}): at {x - ox},{y - oy},{w},{h} in the client area")


def test_a_reader_finds_every_control_and_its_default_action_is_the_click(c):
    c.s.start(c.disc / "Launch.exe", c.disc, trace=True)  # a .pdf handler: the reader link stays greyed
    c.s.move(300, 20)
    before = c.s.client_shot()
    ox, oy = c.s.origin()
    kids, _ = children(c)
    check_children(c, kids, reader_enabled=False)
    # The hit test answers the control at a point, the client area between them, nothing outside.
    points = [(x + w // 2, y + h // 2) for _, _, _, (x, y, w, h), _ in (kids[n] for n in range(1, 9))]
    points += [(ox + 300, oy + 200), (ox - 5, oy + 10)]
    _, info = children(c, *(v for p in points for v in ("hit", *p)))
    hits = [info[f"hit.{x},{y}"] for x, y in points]
    check(hits == [f"{n}|00000000" for n in range(1, 9)] + ["0|00000000", "-1|00000001"], f"hit tests: {hits}")
    check(c.s.client_shot().rgb == before.rgb, "the reader's visit changed the window")
    # A bold link under the pointer reports its wider bounds.
    c.s.move(30, 280)
    wait_for(lambda: children(c)[0][4][3][2] > kids[4][3][2], timeout=10, what="User Manual's bold bounds")
    # The greyed link refuses; an enabled link's action is its click, queued behind the refusal.
    _, info = children(c, "do", 5, "do", 4)
    check((info["do.5"], info["do.4"]) == (NO_ACTION, "00000000"), f"actions: {info['do.5']}, {info['do.4']}")
    records = c.s.wait_records(1)
    check([r["arg"][0] for r in records] == ["chm"], f"invoked User Manual started {records}")
    c.s.click(40, 285)
    c.s.wait_records(2)
    requests = c.s.shell_requests()
    check(len(requests) == 2 and requests[0] == requests[1], f"invoked and clicked, the requests: {requests}")
    # Exit's action ends the launcher with 0; the object then answers nothing more.
    _, info = children(c, "do", 6, "gone")
    check(c.s.wait_exit() == 0, f"Exit's action: code {c.s.launcher.returncode}")
    check(info["gone"].startswith("1|8"), f"the object once the window had gone: {info['gone']}")


def test_the_reader_link_tells_readers_when_activation_enables_it(c):
    c.s.reg_delete(r"HKCR\.pdf")
    listener = subprocess.Popen([WINE, r"C:\tools\peek.exe", "listen", "25"], **c.s.within(), env=c.s.env,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    c.s.processes.append(listener)
    check(listener.stdout.readline().strip() == "listening=1", "the event hook was not set")
    c.s.start(c.disc / "Launch.exe", c.disc)
    line = wait_for(lambda: listener.stdout.readline().strip(), timeout=20, what="a state change")
    check(line == f"statechange=-4|5|{LINKED:x}", f"the change readers were told of: {line}")
    kids, _ = children(c, "do", 5)
    check_children(c, kids, reader_enabled=True)
    records = c.s.wait_records(1)
    check(records[0]["exe"].endswith("AdbeRdr90_en_US.exe"), f"invoked the reader link: {records}")


def test_linux_a_reader_finds_every_control_and_its_click_and_hears_the_reader_link_enabled(c):
    # A display of its own: the accessibility bus it starts is announced on the display's root window.
    with harness.Session(work=c.out / "atspi", wine=False) as s:
        for pdf in (True, False):  # with a PDF handler the reader link stays greyed
            d = Desktop(c, pdf=pdf, session=s, disc_name=f"disc-{pdf}")
            try:
                d.start(reader=True)
                # (the registry daemon the reader's bus starts says so on the same output)
                lines = []
                while len(lines) < 5 and "listening=1\n" not in lines:
                    lines.append(d.process.stdout.readline())
                check(lines[-1] == "listening=1\n", f"the reader did not start: {lines}")
                ox, oy = d.origin
                if not pdf:
                    wait_for(lambda: d.ask("events").get("event"), timeout=10, what="the reader link's change")
                    events = d.ask("events")["event"]
                    check(events == "object:state-changed:enabled|Install Adobe Acrobat Reader|1", events)
                before = d.shot()
                links = d.ask("list")
                greyed = "showing,visible"
                for n, (name, (left, top, width, height)) in enumerate(READING):
                    got = links[f"link.{n}"].split("|")
                    states = greyed if pdf and n == 4 else "enabled,sensitive,showing,visible"
                    check(got[:3] == [name, "link", states] and got[4] == "click", f"{pdf}: child {n}: {got}")
                    x, y, w, h = map(int, got[3].split(","))
                    check((x - ox, y - oy, w, h) == (left, top, width or w, height or h) and w > 0 and h > 0,
                          f"{pdf}: child {n} ({name}) at {got[3]}")
                    check(d.ask("hit", x + w // 2, y + h // 2) == {f"hit.{x + w // 2},{y + h // 2}": str(n)},
                          f"{pdf}: the hit test at child {n}")
                check(d.shot().rgb == before.rgb, "the reader's visit changed the window")
                # The greyed link's action does nothing; an enabled one's is its click, and Exit's ends it.
                d.ask("do", 4)
                d.ask("do", 3)
                records = wait_for(lambda: (lambda r: r if r[-1][0] == "chm" else None)(d.records(1)), timeout=10,
                                   what="User Manual's record")
                check([r[0] for r in records] == (["chm"] if pdf else ["exe", "chm"]), f"{pdf}: actions started {records}")
                d.click(30, 280)
                check(d.records(len(records) + 1)[-1] == records[-1], f"{pdf}: the click started {d.records(1)[-1]}")
                d.ask("do", 5)
                check(d.ask("wait") == {"code": "0"}, f"{pdf}: Exit's action")
            finally:
                d.stop()
