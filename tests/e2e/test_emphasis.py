"""Link emphasis under the pointer, and the reader link's enabled state."""
import os
import time

from harness import check, wait_for

LINKS = {"What's New": 191, "Install": 234, "User Manual": 276, "Exit": 407}
READER_TOP = 317
AWAY = (300, 170)  # white paper between the banner and the links


def extent(shot, top):
    """The rightmost column of the link row at `top` that holds a non-white pixel, and the darkest value."""
    right, darkest = 0, 255
    end = 128 if top == LINKS["Exit"] else 430  # the wordmark starts at 130 beside "Exit"
    for y in range(top, top + 20):
        for x in range(22, end):
            p = shot.pixel(x, y)
            if p != (255, 255, 255):
                right = max(right, x)
                darkest = min(darkest, max(p))
    return right, darkest


def extents(c):
    shot = c.s.client_shot()
    return {name: extent(shot, top) for name, top in {**LINKS, "Reader": READER_TOP}.items()}


def settle(c, predicate, what):
    return wait_for(lambda: (lambda e: e if predicate(e) else None)(extents(c)), timeout=5, what=what)


def test_links_turn_bold_and_wider_under_the_pointer_and_back_after(c):
    c.s.start(c.disc / "Launch.exe", c.disc)
    c.s.move(*AWAY)
    regular = extents(c)
    for name, top in LINKS.items():
        c.s.move(24, top + 8)
        bold = settle(c, lambda e: e[name][0] > regular[name][0], f"{name} to turn bold")
        for other in LINKS:
            if other != name:
                check(bold[other] == regular[other], f"{other} changed while the pointer was on {name}")
        c.s.move(*AWAY)
        settle(c, lambda e: e == regular, f"{name} to return to regular")


def test_moving_straight_out_of_the_window_returns_the_link_to_regular(c):
    c.s.start(c.disc / "Launch.exe", c.disc)
    c.s.move(*AWAY)
    regular = extents(c)
    c.s.move(24, LINKS["Exit"] + 8)
    settle(c, lambda e: e["Exit"][0] > regular["Exit"][0], "Exit to turn bold")
    c.s.move(-40, LINKS["Exit"] + 8)  # off the window's left edge
    settle(c, lambda e: e == regular, "Exit to return to regular")


def test_the_greyed_reader_link_never_turns_bold(c):
    c.s.start(c.disc / "Launch.exe", c.disc)
    c.s.move(*AWAY)
    regular = extents(c)
    check(regular["Reader"][1] > 60, f"the reader link is grey, darkest {regular['Reader'][1]}")
    c.s.move(24, READER_TOP + 8)
    time.sleep(1)
    check(extents(c) == regular, "the greyed reader link changed under the pointer")
    c.s.click(24, READER_TOP + 8)
    time.sleep(1)
    check(c.s.records() == [], "the greyed reader link started something")


def reader_enabled_case(c, arrange):
    try:
        arrange()
        c.s.start(c.disc / "Launch.exe", c.disc, trace=True)
        c.s.move(*AWAY)
        regular = settle(c, lambda e: e["Reader"][1] < 40, "the reader link to become usable")
        c.s.move(24, READER_TOP + 8)
        settle(c, lambda e: e["Reader"][0] > regular["Reader"][0], "the reader link to turn bold")
        c.s.xdotool("click", "1")
        record = c.s.wait_records(1)[-1]
        check(record["exe"].endswith("\\Acrobat\\AdbeRdr90_en_US.exe"), f"started {record['exe']}")
        request = c.s.shell_requests()[-1].split(",", 1)[1]
        check(request == '(null),"Acrobat\\\\AdbeRdr90_en_US.exe",(null),(null),1', f"request {request}")
    finally:
        c.s.reg_delete(r"HKCR\.pdf")
        c.s.reg_delete(r"HKCR\VantrelNoCommand")
        c.s.reg_add(r"HKCR\.pdf", "", "REG_SZ", "VantrelTest.pdf")


def test_without_a_pdf_handler_the_reader_link_is_usable(c):
    reader_enabled_case(c, lambda: c.s.reg_delete(r"HKCR\.pdf"))


def test_a_pdf_type_whose_identifier_has_no_open_command_counts_as_no_handler(c):
    def arrange():
        c.s.reg_add(r"HKCR\.pdf", "", "REG_SZ", "VantrelNoCommand")
        c.s.reg_add(r"HKCR\VantrelNoCommand\shell\print\command", "", "REG_SZ", "print.exe")
    reader_enabled_case(c, arrange)


def rss_kb(pid):
    for line in open(f"/proc/{pid}/status"):
        if line.startswith("VmRSS:"):
            return int(line.split()[1])
    return 0


def test_a_thousand_pointer_crossings_leave_memory_where_it_started(c):
    c.s.start(c.disc / "Launch.exe", c.disc)
    pid = c.s.launcher.pid
    ox, oy = c.s.origin()
    crossing = []
    for _ in range(100):  # one xdotool call: 100 crossings, each onto a link and off it again
        crossing += ["mousemove", ox + 30, oy + LINKS["Install"] + 8, "sleep", "0.004",
                     "mousemove", ox + AWAY[0], oy + AWAY[1], "sleep", "0.004"]
    c.s.xdotool(*crossing)  # warm-up: fonts and caches made once
    time.sleep(0.5)
    before = rss_kb(pid)
    for _ in range(10):
        c.s.xdotool(*crossing)
    time.sleep(0.5)
    after = rss_kb(pid)
    (c.out / "hover-memory.txt").write_text(f"VmRSS before {before} kB, after 1000 crossings {after} kB\n")
    check(after - before < 256, f"memory grew from {before} kB to {after} kB over 1000 crossings")
    check(c.s.launcher.poll() is None and c.s.inspect().get("found") == "1", "the launcher still runs")
