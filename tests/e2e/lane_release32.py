"""The release lane: the shipped 32-bit Launch.exe itself, under Wine's WoW64 with 32-bit code
through qemu (about a minute a start), clicked through in two starts. The harness and its tools are
the end-to-end tests' own; what differs is only where Wine runs (scripts/release32.sh)."""
import harness
from harness import check, wait_for
from test_access import check_children, children
from test_install import KEY
from test_window import HOME, PRODUCTS, check_frame

RELEASE = harness.ROOT / "build" / "win32" / "bin" / "Launch.exe"
SLOW = 90  # seconds: the release's code runs emulated
AWAY = (300, 170)  # white paper


def start_release(c, disc):
    c.s.start(disc / "Launch.exe", disc, trace=True, timeout=300)
    c.s.move(*AWAY)


def lane_the_release_window_every_request_install_or_upgrade_and_its_error_box(c):
    for view in ("32", "64"):
        c.s.reg_delete(KEY, view=view)
    disc = c.s.make_disc(c.s.prefix / "drive_c" / "release", launcher=RELEASE)
    start_release(c, disc)
    # The taskbar window shows right after the first paint, which here takes its time.
    check_frame(wait_for(lambda: (lambda i: i if i.get("owner.visible") == "1" else None)(c.s.inspect()), timeout=SLOW,
                         what="the taskbar window"))
    release_shot = wait_for(lambda: (lambda a, b: a if a.rgb == b.rgb else None)(c.s.client_shot(), c.s.client_shot()),
                            what="a settled picture of the release's window")
    cases = [((100, 80), "http", HOME), ((500, 150), "http", PRODUCTS), ((300, 400), "http", PRODUCTS),
             ((40, 200), "pdf", "Docs\\Intro.pdf"), ((40, 285), "chm", "Docs\\Vantrel.chm")]
    folder = c.s.windows_path(disc)
    installs = [("no version", lambda: None, "Vantrel Install.exe"),
                # The 32-bit reg.exe writes, unflagged, where a 32-bit program's writes go: Wow6432Node.
                ("a version the 32-bit reg.exe wrote",
                 lambda: c.s.wine(r"C:\windows\syswow64\reg.exe", "add", KEY, "/v", "CurrentVersion", "/t", "REG_SZ",
                                  "/d", "1.0", "/f", timeout=300), "Vantrel Upgrade.EXE"),
                ("the version only in the 64-bit view",
                 lambda: (c.s.reg_delete(KEY, view="32"), c.s.reg_add(KEY, "CurrentVersion", "REG_SZ", "1.0", view="64")),
                 "Vantrel Install.exe")]
    n = 0
    for (x, y), kind, target in cases:
        c.s.click(x, y)
        n += 1
        record = c.s.wait_records(n, timeout=SLOW)[-1]
        check(record["arg"][:1] == [kind] and record["arg"][1].endswith(target), f"click at {(x, y)} started {record}")
    for what, arrange, program in installs:
        arrange()
        if "32-bit reg.exe" in what:
            check("1.0" in c.s.wine("reg", "query", KEY, "/v", "CurrentVersion", "/reg:32").stdout
                  and c.s.wine("reg", "query", KEY, "/reg:64", check_rc=False).returncode != 0,
                  "the 32-bit reg.exe wrote to the 32-bit view alone")
        c.s.click(40, 240)
        n += 1
        record = c.s.wait_records(n, timeout=SLOW)[-1]
        check(record["exe"] == f"{folder}\\Vantrel\\{program}", f"{what}: started {record['exe']}")
    requests = [r.split(",", 1)[1] for r in c.s.shell_requests()]
    want = [f'"open","{t.replace(chr(92), chr(92) * 2)}",(null),(null),1' for _, _, t in cases]
    check(requests[:len(cases)] == want, f"the requests: {requests[:len(cases)]}")
    # A version stored as a number: the error box, nothing started, the launcher goes on.
    c.s.reg_add(KEY, "CurrentVersion", "REG_DWORD", "1", view="32")
    c.s.click(40, 240)
    info = wait_for(lambda: (lambda i: i if i.get("dialog.caption") else None)(c.s.inspect()), timeout=SLOW,
                    what="the error box")
    check(info["dialog.caption"] == "Vantrel Setup", f"caption {info['dialog.caption']!r}")
    check(info.get("dialog.text") == "Invalid data type for 'CurrentVersion'", f"text {info.get('dialog.text')!r}")
    check(len(c.s.records()) == n, f"something was started: {c.s.records()[n:]}")
    c.s.xdotool("key", "Return")
    wait_for(lambda: not c.s.inspect().get("dialog.caption"), timeout=SLOW, what="the box to close")
    check(c.s.launcher.poll() is None, "the launcher goes on")
    c.s.click(30, 414)  # Exit
    code = c.s.wait_exit(timeout=SLOW)
    check(code == 0, f"Exit: exit code {code}")
    # The x86-64 twin in the same prefix draws the same pixels.
    twin = c.s.make_disc(c.s.prefix / "drive_c" / "twin")
    c.s.start(twin / "Launch.exe", twin)
    c.s.move(*AWAY)
    twin_shot = wait_for(lambda: (lambda a, b: a if a.rgb == b.rgb else None)(c.s.client_shot(), c.s.client_shot()),
                         what="a settled picture of the twin's window")
    if twin_shot.rgb != release_shot.rgb:
        release_shot.save_png(c.out / "release32-window.png")
        twin_shot.save_png(c.out / "release32-twin-window.png")
    check(twin_shot.rgb == release_shot.rgb, "the release's pixels differ from the twin's (pictures saved)")


def lane_without_a_pdf_handler_the_release_enables_and_runs_the_reader_link(c):
    for view in ("32", "64"):
        c.s.reg_delete(r"HKCR\.pdf", view=view)
    disc = c.s.make_disc(c.s.prefix / "drive_c" / "release", launcher=RELEASE)
    start_release(c, disc)
    wait_for(lambda: (0, 0, 0) in c.s.client_shot().region(22, 317, 210, 20), timeout=SLOW,
             what="the reader link enabled")
    # A screen reader (the 64-bit client, across WoW64) reads the release's children and invokes one:
    # the methods' calling convention is the one a 32-bit reader calls too.
    kids, info = children(c, "do", 4)
    check_children(c, kids, reader_enabled=True)
    check(info["do.4"] == "00000000", f"User Manual's action: {info['do.4']}")
    check(c.s.wait_records(1, timeout=SLOW)[-1]["arg"][0] == "chm", f"invoked User Manual: {c.s.records()}")
    c.s.click(40, 322)
    record = c.s.wait_records(2, timeout=SLOW)[-1]
    check(record["exe"].endswith("\\Acrobat\\AdbeRdr90_en_US.exe"), f"started {record['exe']}")
