"""The native Linux launcher in the same virtual display: a desktop of its own (temporary XDG folders
whose default applications are recorder entries, a session bus), and Wine's registry file for what
is installed under Wine."""
import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path
from types import SimpleNamespace

import harness
from harness import check, mean, wait_for

LAUNCHER = harness.ROOT / "build" / "linux" / "bin" / "Launch.x86_64"
HOME, PRODUCTS = "http://www.halvik-instruments.com/", "http://www.halvik-instruments.com/products/fendrikfam.html"
KEY = "[Software\\\\Wow6432Node\\\\Orun\\\\Vantrel\\\\AppInfo] 1733600000\n"


class Desktop:
    """A Linux desktop for one launcher run: XDG folders, default applications, a Wine prefix file."""

    def __init__(self, c, pdf=True, exe_handler=True, version=None, wine_prefix=None, disc_name="disc", scale=1,
                 session=None):
        self.c = c
        self.s = session or c.s  # the display, and the list of processes a test's end kills
        self.scale = scale
        self.size = (616 * scale, 448 * scale)
        self.root = Path(tempfile.mkdtemp(prefix="vantrel-desktop-", dir=c.out))
        self.log = self.root / "record.log"
        apps = self.root / "data" / "applications"
        apps.mkdir(parents=True)
        (self.root / "config").mkdir()
        (self.root / "share").mkdir()
        (self.root / "share" / "mime").symlink_to("/usr/share/mime")  # the MIME database stays visible
        recorder = self.root / "recorder.sh"
        recorder.write_text(f'#!/bin/sh\nprintf "%s\\t%s\\t%s\\n" "$1" "$2" "$(pwd)" >> "{self.log}"\n')
        recorder.chmod(0o755)
        defaults = {"x-scheme-handler/http": "http", "application/vnd.ms-htmlhelp": "chm"}
        if pdf:
            defaults["application/pdf"] = "pdf"
        if exe_handler:
            defaults["application/x-ms-dos-executable"] = "exe"
        for kind in set(defaults.values()):
            (apps / f"recorder-{kind}.desktop").write_text(
                f"[Desktop Entry]\nType=Application\nName=Recorder {kind}\nExec={recorder} {kind} %u\nNoDisplay=true\n")
        (self.root / "config" / "mimeapps.list").write_text(
            "[Default Applications]\n" + "".join(f"{t}=recorder-{k}.desktop\n" for t, k in defaults.items()))
        self.prefix = Path(wine_prefix) if wine_prefix else self.root / "wine"
        if not wine_prefix:
            self.prefix.mkdir()
            self.set_version(version)
        self.disc = self.make_disc(disc_name)
        self.process = None

    def set_version(self, version):
        """Writes the prefix's registry file: no key, or the version (a string, or a number as dword)."""
        text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
        if isinstance(version, str):
            text += KEY + f'"CurrentVersion"="{version}"\n'
        elif isinstance(version, int):
            text += KEY + f'"CurrentVersion"=dword:{version:08x}\n'
        (self.prefix / "system.reg").write_text(text)

    def make_disc(self, name):
        disc = self.root / name
        for sub in ("Vantrel", "Docs", "Acrobat"):
            (disc / sub).mkdir(parents=True)
        shutil.copy(LAUNCHER, disc / "Launch.x86_64")
        for target in ("Vantrel/Vantrel Install.exe", "Vantrel/Vantrel Upgrade.EXE", "Acrobat/AdbeRdr90_en_US.exe"):
            shutil.copy(harness.BUILD / "recorder.exe", disc / target)  # Windows programs by their content
        (disc / "Docs" / "Intro.pdf").write_bytes(b"%PDF-1.4\n%%EOF\n")
        (disc / "Docs" / "Vantrel.chm").write_bytes(b"ITSF")
        return disc

    def start_process(self, cwd=None, args=(), env=None, reader=False):
        """Starts the launcher on this desktop, without waiting for its window; with `reader`, through
        tools/atspi_reader.py in the same session bus, and with the accessibility bridge."""
        run_env = {k: v for k, v in self.s.env.items() if k not in ("WINEDEBUG", "GDK_BACKEND")}
        run_env.update(HOME=str(self.root), XDG_CONFIG_HOME=str(self.root / "config"),
                       XDG_DATA_HOME=str(self.root / "data"), XDG_DATA_DIRS=str(self.root / "share"),
                       XDG_CONFIG_DIRS=str(self.root / "config"), WINEPREFIX=str(self.prefix), NO_AT_BRIDGE="1",
                       GDK_SCALE=str(self.scale), **(env or {}))
        command = [str(self.disc / "Launch.x86_64"), *args]
        if reader:
            del run_env["NO_AT_BRIDGE"]
            schemas = self.root / "share" / "glib-2.0"  # what the accessibility bus's launcher reads
            if not schemas.exists():
                schemas.symlink_to("/usr/share/glib-2.0")
            # An earlier session's bus, gone now, may still be announced on the display.
            subprocess.run(["xprop", "-display", self.s.display, "-root", "-remove", "AT_SPI_BUS"],
                           stderr=subprocess.DEVNULL, check=True)
            command = ["/usr/bin/python3", str(Path(__file__).parent / "tools" / "atspi_reader.py"), *command]
        self.output = self.root / "output.log"  # a file, not a pipe: Wine's services would hold a pipe
        with open(self.output, "w") as output:
            self.process = subprocess.Popen(["dbus-run-session", "--", *command], cwd=str(cwd or self.disc),
                                            env=run_env, stdin=subprocess.PIPE if reader else subprocess.DEVNULL,
                                            stdout=subprocess.PIPE if reader else output, stderr=output,
                                            start_new_session=True, text=True)
        self.s.processes.append(self.process)
        return self

    def start(self, cwd=None, args=(), env=None, reader=False):
        self.start_process(cwd, args, env, reader)
        self.origin = wait_for(self.window, timeout=20, what="the Linux launcher's window")
        k = self.scale
        wait_for(lambda: mean(self.shot().region(20 * k, 380 * k, 150 * k, 40 * k)) != (255, 255, 255),
                 what="the window to be painted")
        return self

    def windows(self):
        tree = subprocess.run(["xwininfo", "-root", "-tree", "-display", self.s.display], capture_output=True,
                              text=True).stdout
        return [line for line in tree.splitlines() if '"Vantrel Setup"' in line]

    def window(self):
        size = "%dx%d+" % self.size
        for line in self.windows():
            if f" {size}" in line:
                x, y = line.split(size, 1)[1].split()[0].split("+")
                return int(x), int(y)
        return None

    def shot(self):
        (ox, oy), (w, h) = self.origin, self.size
        shot = self.s.screenshot()
        return harness.Image(w, h, bytes(b for y in range(oy, oy + h)
                                         for b in shot.rgb[(y * shot.width + ox) * 3:(y * shot.width + ox + w) * 3]))

    def click(self, x, y):
        time.sleep(0.6)  # apart from the last click: no double-click
        self.s.xdotool("mousemove", self.origin[0] + x, self.origin[1] + y, "sleep", "0.1", "click", "1")

    def records(self, count):
        def enough():
            lines = self.log.read_text().splitlines() if self.log.exists() else []
            return [line.split("\t") for line in lines] if len(lines) >= count else None
        return wait_for(enough, what=f"{count} recorded start(s)")

    def ask(self, *command):
        """A command to the reader (see tools/atspi_reader.py); its answer as a dict."""
        self.process.stdin.write(" ".join(map(str, command)) + "\n")
        self.process.stdin.flush()
        answer = {}
        for line in iter(self.process.stdout.readline, "end\n"):
            check(line, f"the reader ended: {self.output.read_text()[-2000:]}")
            key, _, value = line.rstrip("\n").partition("=")
            answer[key] = answer[key] + "\n" + value if key in answer else value
        return answer

    def stop(self):
        """Ends the launcher with its session bus: the whole process group."""
        if self.process is None:
            return
        try:
            os.killpg(self.process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.process.wait(10)
        wait_for(lambda: not self.windows(), timeout=10, what="the Linux launcher's window to go")


def hint_shown(c, d):
    """Whether a small viewable window (the hint) is up near the banner."""
    tree = subprocess.run(["xwininfo", "-root", "-tree", "-display", c.s.display], capture_output=True, text=True).stdout
    for line in tree.splitlines():
        geometry = next((p for p in line.split() if p.count("+") == 2 and "x" in p and p[0].isdigit()), None)
        if not geometry:
            continue
        size, x, y = geometry.replace("+", " ").split()
        width, height = (int(v) for v in size.split("x"))
        if 80 < width < 400 and 10 < height < 60 and 0 < int(y) - d.origin[1] < 250:
            state = subprocess.run(["xwininfo", "-id", line.split()[0], "-display", c.s.display], capture_output=True,
                                   text=True).stdout
            if "IsViewable" in state:
                return True
    return False


def test_linux_window_pictures_and_reader_link_greyed_with_a_pdf_handler(c):
    d = Desktop(c).start()
    try:
        x, y = d.origin
        check((x, y) == ((1024 - 616) // 2, (768 - 448) // 2), f"centred on the screen: {x},{y}")
        hints = subprocess.run(["xprop", "-display", c.s.display, "-name", "Vantrel Setup", "WM_NORMAL_HINTS"],
                               capture_output=True, text=True).stdout
        check("minimum size: 616 by 448" in hints and "maximum size: 616 by 448" in hints, f"fixed size: {hints}")
        shot = d.shot()
        r, g, b = mean(shot.region(8, 27, 369, 113))
        check(b > r + 40, f"the banner fills its place: {(r, g, b)}")
        check(max(mean(shot.region(456, 27, 130, 278))) < 220, "the photograph fills its place")
        check(mean(shot.region(450, 160, 4, 20)) == (255, 255, 255), "white left of the photograph")
        check(mean(shot.region(130, 360, 375, 80)) < (240, 240, 240), "the wordmark is drawn")
        for name, top in (("What's New", 191), ("Install", 234), ("User Manual", 276), ("Exit", 407)):
            check((0, 0, 0) in shot.region(22, top, 26, 20), f"{name} is drawn in black")
        reader = shot.region(22, 317, 210, 20)
        check((0, 0, 0) not in reader and any(p != (255, 255, 255) for p in reader), "the reader link is greyed")
        shot.save_png(c.out / "linux-window.png")
        wm_class = subprocess.run(["xprop", "-display", c.s.display, "-name", "Vantrel Setup", "WM_CLASS"],
                                  capture_output=True, text=True).stdout
        icon = subprocess.run(["xprop", "-display", c.s.display, "-name", "Vantrel Setup", "_NET_WM_ICON"],
                              capture_output=True, text=True).stdout
        check(all(f"Icon ({n} x {n})" in icon for n in (16, 32, 48)), f"the taskbar icon's sizes: {icon[:120]}")
        d.click(40, 200)  # the what's-new document, in the PDF handler
        check(d.records(1)[-1][:2] == ["pdf", f"{d.disc}/Docs/Intro.pdf"], f"the document: {d.records(1)}")
    finally:
        d.stop()
    # GTK's own options are arguments like any other: ignored, the same window on the same display.
    d.start(args=("--display=:99", "--gtk-module=x", "--name=evil", "--class=Evil"))
    try:
        check(d.origin == (x, y), f"with arguments the window is at {d.origin}")
        again = subprocess.run(["xprop", "-display", c.s.display, "-name", "Vantrel Setup", "WM_CLASS"],
                               capture_output=True, text=True).stdout
        check(again == wm_class and "vantrel" in wm_class.lower(), f"WM_CLASS {again!r}, without arguments {wm_class!r}")
    finally:
        d.stop()


def test_linux_every_click_reaches_the_desktop_and_install_turns_to_upgrade(c):
    d = Desktop(c, pdf=False).start(cwd=None)
    try:
        wait_for(lambda: (0, 0, 0) in d.shot().region(22, 317, 210, 20), what="the reader link enabled")
        disc = str(d.disc)
        # Local files reach the application as paths (GIO turns their file: addresses into paths).
        cases = [((100, 80), "http", HOME), ((500, 150), "http", PRODUCTS), ((300, 400), "http", PRODUCTS),
                 ((40, 285), "chm", f"{disc}/Docs/Vantrel.chm"),
                 ((40, 322), "exe", f"{disc}/Acrobat/AdbeRdr90_en_US.exe"),
                 ((40, 240), "exe", f"{disc}/Vantrel/Vantrel Install.exe")]
        for n, ((x, y), kind, target) in enumerate(cases, start=1):
            d.click(x, y)
            record = d.records(n)[-1]
            check(record[:2] == [kind, target], f"click at {(x, y)} recorded {record}, not {kind} {target}")
        check(d.records(len(cases))[-1][2] == disc, f"the installer starts in the disc's folder: {d.records(6)[-1]}")
        d.set_version("1.1")  # as an installer under Wine would have written it
        d.click(40, 240)
        record = d.records(len(cases) + 1)[-1]
        check(record[1] == f"{disc}/Vantrel/Vantrel Upgrade.EXE", f"then the upgrader: {record}")
        # A real double click on the manual, then one click on the banner: once the banner's request
        # has arrived, the double click has made exactly one.
        before = len(cases) + 1
        time.sleep(0.6)
        c.s.xdotool("mousemove", d.origin[0] + 40, d.origin[1] + 285, "sleep", "0.1", "click", "--repeat", "2",
                    "--delay", "80", "1")
        d.click(100, 80)
        later = wait_for(lambda: (lambda r: r if any(x[0] == "http" for x in r) else None)(d.records(before)[before:]),
                         what="the banner's request after the double click")
        check([x[0] for x in later] == ["chm", "http"], f"a double click opened once: {later}")
    finally:
        d.stop()


def test_linux_wine_route_hover_and_the_error_dialog(c):
    # No desktop handler for Windows programs: the installer goes to Wine, in the request's folder.
    d = Desktop(c, exe_handler=False, wine_prefix=c.s.prefix).start(cwd=c.out)
    try:
        c.s.clear_records()
        d.click(40, 240)
        try:
            record = c.s.wait_records(1, timeout=90)[-1]
        except harness.Failure as e:
            raise harness.Failure(f"{e}; the launcher's output: {d.output.read_text()[-600:]}")
        check(record["exe"].endswith("\\Vantrel\\Vantrel Install.exe"), f"Wine started {record['exe']}")
        check(record["cwd"].rstrip("\\").lower().endswith("\\disc"), f"in the disc's folder: {record['cwd']}")
        # Hover: the link turns bold, wider, and back.
        def right(shot, top):
            return max((x for y in range(top, top + 20) for x in range(22, 440) if shot.pixel(x, y) != (255, 255, 255)),
                       default=0)
        d.click(300, 170)
        regular = right(d.shot(), 234)
        c.s.xdotool("mousemove", d.origin[0] + 30, d.origin[1] + 242)
        wait_for(lambda: right(d.shot(), 234) > regular, timeout=5, what="the link to turn bold")
        c.s.xdotool("mousemove", d.origin[0] + 300, d.origin[1] + 170)
        wait_for(lambda: right(d.shot(), 234) == regular, timeout=5, what="the link to return to regular")
        # The banner's hint: after a rest, hidden after its time, not back until the pointer has left.
        c.s.xdotool("mousemove", d.origin[0] + 100, d.origin[1] + 80, "mousemove", d.origin[0] + 102, d.origin[1] + 82)
        wait_for(lambda: hint_shown(c, d), timeout=5, what="the hint")
        wait_for(lambda: not hint_shown(c, d), timeout=5, what="the hint to hide")
        for x in (104, 108, 112):
            c.s.xdotool("mousemove", d.origin[0] + x, d.origin[1] + 84)
            time.sleep(0.1)
        time.sleep(1.2)
        check(not hint_shown(c, d), "the hint came back while the pointer stayed on the banner")
        c.s.xdotool("mousemove", d.origin[0] + 300, d.origin[1] + 170, "sleep", "0.3",
                    "mousemove", d.origin[0] + 100, d.origin[1] + 80)
        wait_for(lambda: hint_shown(c, d), timeout=5, what="the hint after leaving and coming back")
    finally:
        d.stop()
    d = Desktop(c, version=1).start()  # a version stored as a number
    try:
        d.click(40, 240)
        dialog = wait_for(lambda: next((w for w in d.windows() if " 616x448+" not in w), None), timeout=10,
                          what="the error dialog")
        # No window manager hands out the focus here: give it to the dialog, then answer it.
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "Vantrel Setup"],
                       env={**os.environ, "DISPLAY": c.s.display}, capture_output=True, timeout=10)
        time.sleep(0.3)
        c.s.xdotool("windowfocus", "--sync", dialog.split()[0])
        c.s.xdotool("key", "Return")
        wait_for(lambda: len(d.windows()) == 1, timeout=10, what="the dialog to close")
        check(d.process.poll() is None, "the launcher goes on")
        check(not d.log.exists(), "nothing was started")
    finally:
        d.stop()


def test_linux_installer_through_wine_from_a_folder_with_a_backslash_never_a_planted_wine(c):
    # No handler for Windows programs: wine from an absolute folder of PATH, in the disc's folder as
    # the kernel names it (a backslash is part of a name there); never the wine planted in the
    # current folder, which an empty PATH element would name.
    d = Desktop(c, exe_handler=False, disc_name="x\\y")
    tools = d.root / "bin"
    tools.mkdir()
    for folder, kind in ((tools, "wine"), (d.disc, "planted")):
        script = folder / "wine"
        script.write_text(f'#!/bin/sh\nprintf "{kind}\\t%s\\t%s\\t%s\\t%s\\t%s\\t%s\\n" "$1" "$2" "$3" "$4" "$5" "$(pwd)" >> "{d.log}"\n')
        script.chmod(0o755)
    d.start(env={"PATH": f":{tools}:/usr/bin:/bin"})
    try:
        d.click(40, 240)
        record = d.records(1)[-1]
        disc = str(d.disc)
        want = ["wine", "start", "/d", disc, "/unix", f"{disc}/Vantrel/Vantrel Install.exe", disc]
        check(record == want, f"started {record}, not {want}")
    finally:
        d.stop()


def test_linux_installer_goes_to_wine_not_to_an_archive_manager_that_merely_lists_the_type(c):
    # Debian's file-roller and engrampa list Windows programs among the archives they open (their
    # MimeType= lines, trimmed to the types that matter here); neither is anyone's default.
    d = Desktop(c, exe_handler=False)
    apps = d.root / "data" / "applications"
    types = "application/x-ms-dos-executable;application/x-msdownload;application/vnd.microsoft.portable-executable;"
    for name, kind in (("org.gnome.FileRoller", "roller"), ("engrampa", "engrampa")):
        (apps / f"{name}.desktop").write_text(
            f"[Desktop Entry]\nType=Application\nName={kind}\nExec={d.root / 'recorder.sh'} {kind} %U\n"
            f"MimeType=application/x-tar;application/zip;{types}\n")
    (apps / "mimeinfo.cache").write_text("[MIME Cache]\n" + "".join(
        f"{t}=engrampa.desktop;org.gnome.FileRoller.desktop;\n" for t in types.rstrip(";").split(";")))
    tools = d.root / "bin"
    tools.mkdir()
    (tools / "wine").write_text(f'#!/bin/sh\nprintf "wine\\t%s\\t%s\\n" "$5" "$(pwd)" >> "{d.log}"\n')
    (tools / "wine").chmod(0o755)
    d.start(env={"PATH": f"{tools}:/usr/bin:/bin"})
    try:
        installer = f"{d.disc}/Vantrel/Vantrel Install.exe"
        d.click(40, 240)
        check(d.records(1)[-1][:2] == ["wine", installer], f"without a default: {d.records(1)}")
        # The user's own choice stands, even an archive manager.
        with open(d.root / "config" / "mimeapps.list", "a") as f:
            f.write("application/x-ms-dos-executable=org.gnome.FileRoller.desktop\n")
        d.click(40, 240)
        check(d.records(2)[-1][:2] == ["roller", installer], f"with the archive manager as default: {d.records(2)}")
    finally:
        d.stop()


def test_linux_at_200_percent_pictures_are_drawn_in_device_pixels_without_seams(c):
    # A display of its own, large enough for the window at 200 %.
    with harness.Session(work=c.out / "scale2", screen="1600x1200x24", wine=False) as s:
        d = Desktop(c, scale=2, session=s).start()
        try:
            shot = d.shot()
            shot.save_png(c.out / "linux-scale2.png")
            for name, (left, top, width, height) in (("photograph", (912, 54, 260, 556)),
                                                     ("banner", (16, 54, 738, 226))):
                rows = [sum(map(sum, shot.region(left, y, width, 1))) / (3 * width) for y in range(top, top + height)]
                seams = [top + i for i in range(1, len(rows) - 1) if rows[i] > max(rows[i - 1], rows[i + 1]) + 8]
                check(not seams, f"the {name} has light rows at {seams[:8]}")
            dump = subprocess.run([str(harness.ROOT / "build" / "linux" / "bin" / "picture_dump"),
                                   str(harness.ROOT / "assets" / "photograph.jpg"), "260", "556"],
                                  capture_output=True, check=True).stdout
            want = dump[dump.index(b"255\n") + 4:]
            got = bytes(v for p in shot.region(912, 54, 260, 556) for v in p)
            worst = max(abs(a - b) for a, b in zip(got, want))
            check(len(got) == len(want) and worst <= 1, f"the photograph differs from the core's resampling by {worst}")
        finally:
            d.stop()


def test_linux_under_a_window_manager_the_outer_window_is_centred(c):
    with harness.Session(work=c.out / "openbox", wine=False) as s:
        wm = subprocess.Popen(["openbox", "--sm-disable"], env=s.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, start_new_session=True)
        try:
            wait_for(lambda: "window id" in subprocess.run(
                ["xprop", "-root", "-display", s.display, "_NET_SUPPORTING_WM_CHECK"], capture_output=True,
                text=True).stdout, what="openbox")
            d = Desktop(c, session=s)
            try:
                d.start_process()
                def placed():  # reparented into the frame: its absolute place and the frame's extents
                    tree = subprocess.run(["xwininfo", "-root", "-tree", "-display", s.display], capture_output=True,
                                          text=True).stdout
                    line = next((ln for ln in tree.splitlines() if '"Vantrel Setup"' in ln and " 616x448+" in ln), None)
                    frame = subprocess.run(["xprop", "-display", s.display, "-id", line.split()[0], "_NET_FRAME_EXTENTS"],
                                           capture_output=True, text=True).stdout if line else ""
                    if "=" not in frame:
                        return None
                    x, y = (int(v) for v in line.split()[-1].lstrip("+").split("+"))
                    return x, y, [int(v) for v in frame.split("=", 1)[1].split(",")]
                x, y, (left, right, top, bottom) = wait_for(placed, what="the framed window")
                width, height = 616 + left + right, 448 + top + bottom
                want = (1024 // 2 - width // 2, 768 // 2 - height // 2)
                check(abs(x - left - want[0]) <= 1 and abs(y - top - want[1]) <= 1,
                      f"outer window at {(x - left, y - top)} ({width} x {height}), centred at {want}")
            finally:
                d.stop()
        finally:
            os.killpg(wm.pid, signal.SIGKILL)
            wm.wait(10)


def test_linux_on_a_wayland_desktop_the_window_goes_to_xwayland_by_itself(c):
    runtime = Path(tempfile.mkdtemp(prefix="vantrel-wayland-", dir=c.out))
    runtime.chmod(0o700)
    log = runtime / "weston.log"
    weston = subprocess.Popen(["weston", "--backend=headless-backend.so", "--xwayland", "--socket=vantrel-wl",
                               "--idle-time=0", f"--log={log}"], env={**os.environ, "XDG_RUNTIME_DIR": str(runtime)},
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              start_new_session=True)
    try:
        display = wait_for(lambda: next((ln.rsplit(" ", 1)[1] for ln in (log.read_text() if log.exists() else "")
                                         .splitlines() if "xserver listening on display" in ln), None),
                           what="weston's Xwayland display")
        wayland = SimpleNamespace(display=display, processes=c.s.processes, env=dict(
            os.environ, DISPLAY=display, WAYLAND_DISPLAY="vantrel-wl", XDG_RUNTIME_DIR=str(runtime)))
        d = Desktop(c, session=wayland)
        try:
            d.start_process()
            wait_for(d.window, timeout=30, what="the window on the X display of the Wayland desktop")
        finally:
            d.stop()
    finally:
        os.killpg(weston.pid, signal.SIGKILL)
        weston.wait(10)
