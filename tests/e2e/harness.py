"""End-to-end harness: the 64-bit twin of the launcher under Wine in a virtual X display.

One Session per test run: an Xvfb display chosen with -displayfd, a template Wine prefix made once
with the "MS Sans Serif" fonts and the recorder registered as the handler of .pdf, .chm and http,
and for each test a fresh copy of that template with a wineserver of its own (Session.fresh_prefix):
whatever one test writes to its prefix, another never reads. Demo discs are built from the
project's own stand-ins.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = ROOT / "build" / "win64" / "bin"
WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver64"
FONTS = Path("/usr/share/wine/fonts")
CONVERT = "/usr/bin/convert"  # ImageMagick itself, whatever else is on the PATH


class Failure(AssertionError):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(predicate, timeout=20.0, interval=0.1, what="condition"):
    """Polls predicate until it returns a true value, which is returned; fails at the deadline."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


class Image:
    """A screenshot: width, height and RGB bytes."""

    def __init__(self, width, height, rgb):
        self.width, self.height, self.rgb = width, height, rgb

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def region(self, left, top, width, height):
        return [self.pixel(x, y) for y in range(top, top + height) for x in range(left, left + width)]

    def save_png(self, path):
        ppm = b"P6 %d %d 255\n" % (self.width, self.height) + bytes(self.rgb)
        subprocess.run([CONVERT, "ppm:-", str(path)], input=ppm, check=True)


def mean(pixels):
    n = max(1, len(pixels))
    return tuple(sum(p[i] for p in pixels) / n for i in range(3))


class Lane:
    """The release lane (scripts/release32.sh): Wine's classic WoW64 in a Debian chroot at `root`,
    entered by this process's own user namespace, with every path the tests use bind-mounted there
    at the same place; `base` holds the WoW64 prefix made once per machine."""

    def __init__(self, root, base):
        self.root = Path(root)
        self.base = Path(base)

    def base_prefix(self, session, env):
        """The cached prefix, made the first time (minutes: wineboot runs 32-bit parts through qemu)."""
        ready = self.base / ".vantrel-ready"
        if not ready.exists():
            for old in self.base.iterdir():
                shutil.rmtree(old) if old.is_dir() and not old.is_symlink() else old.unlink()
            started = time.monotonic()
            subprocess.run([WINE, "wineboot", "--init"], **session.within(), env=dict(env, WINEPREFIX=str(self.base)),
                           check=True, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=1500)
            session.server("-w", env=dict(env, WINEPREFIX=str(self.base)), timeout=300)
            ready.touch()
            print(f"lane: the WoW64 prefix took {time.monotonic() - started:.0f} s to make", flush=True)
        return self.base


class Session:
    def __init__(self, work=None, dpi=None, screen="1024x768x24", recorders=True, bitmap_fonts=True, lane=None,
                 wine=True):
        self.with_wine = wine  # False: a display of its own, for the Linux launcher alone
        self.bitmap_fonts = bitmap_fonts
        self.work = Path(work or tempfile.mkdtemp(prefix="vantrel-e2e-"))
        self.work.mkdir(parents=True, exist_ok=True)
        self.template = self.work / "template"
        self.prefix = self.template
        self.copies = 0
        # The release lane runs Wine inside a WoW64 chroot (see Lane): the same commands, through it.
        self.lane = lane
        self.dpi = dpi
        self.screen = screen
        self.recorders = recorders
        self.xvfb = None
        self.env = None
        self.processes = []

    # ----- set-up
    def __enter__(self):
        try:
            self._start_display()
            if not self.with_wine:
                self.env = dict(os.environ, DISPLAY=self.display)
                return self
            self._make_prefix()
            self.fresh_prefix("first")
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        for p in self.processes:
            if p.poll() is None:
                p.kill()
        if self.env and self.with_wine:
            self.server("-k", env=self.env, stderr=subprocess.DEVNULL)
            self.server("-w", env=self.env, stderr=subprocess.DEVNULL, timeout=60)
        if self.xvfb and self.xvfb.poll() is None:
            self.xvfb.send_signal(signal.SIGTERM)
            self.xvfb.wait(10)

    def _start_display(self):
        if os.environ.get("VANTREL_DISPLAY"):
            self.display = os.environ["VANTREL_DISPLAY"]
            return
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", self.screen, "-nolisten", "tcp",
                                      "-noreset"],
                                     pass_fds=(write,), stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n"):
            check(time.monotonic() < deadline, "Xvfb did not start")
            chunk = os.read(read, 16)
            check(chunk, "Xvfb did not say its display")
            number += chunk
        os.close(read)
        self.display = ":" + number.decode().strip()

    def _make_prefix(self):
        env = dict(os.environ)
        env.update(WINEPREFIX=str(self.prefix), WINEDEBUG="-all", DISPLAY=self.display, WINESERVER=WINESERVER,
                   WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d", WINEARCH="win64")
        env.pop("WAYLAND_DISPLAY", None)
        self.env = env
        for old in [self.template, *self.work.glob("prefix-*")]:  # what an earlier run left
            subprocess.run(["chmod", "-R", "u+w", str(old)], stderr=subprocess.DEVNULL)
            shutil.rmtree(old, ignore_errors=True)
        if self.lane:  # a copy of the lane's own prefix, which takes minutes to make
            subprocess.run(["cp", "-a", str(self.lane.base_prefix(self, env)), str(self.prefix)], check=True)
            (self.prefix / ".vantrel-ready").unlink(missing_ok=True)
        else:
            subprocess.run([WINE, "wineboot", "--init"], **self.within(), env=env, check=True, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
            self.server("-w", env=env, timeout=120)
        self.server("-p", env=env, check=True)
        fonts = self.prefix / "drive_c" / "windows" / "Fonts"
        # The bitmap font has fixed sizes only: density tests keep to the TrueType one.
        for name in ("sserife.fon", "ms_sans_serif.ttf") if self.bitmap_fonts else ("ms_sans_serif.ttf",):
            shutil.copy(FONTS / name, fonts / name)
        tools = self.prefix / "drive_c" / "tools"
        tools.mkdir(exist_ok=True)
        for name in ("recorder.exe", "peek.exe", "bare.exe"):
            shutil.copy(BUILD / name, tools / name)
        if self.dpi:
            self._set_dpi_keys(self.dpi)
        if self.recorders:
            recorder = r"C:\tools\recorder.exe"
            self.reg_add(r"HKCR\.pdf", "", "REG_SZ", "VantrelTest.pdf")
            self.reg_add(r"HKCR\VantrelTest.pdf\shell\open\command", "", "REG_SZ", f'"{recorder}" pdf "%1"')
            self.reg_add(r"HKCR\.chm", "", "REG_SZ", "VantrelTest.chm")
            self.reg_add(r"HKCR\VantrelTest.chm\shell\open\command", "", "REG_SZ", f'"{recorder}" chm "%1"')
            self.reg_add(r"HKCR\http\shell\open\command", "", "REG_SZ", f'"{recorder}" http "%1"')
        # The template is copied only once its wineserver has saved the registry and ended.
        self.server("-k", env=env)
        self.server("-w", env=env, timeout=60)

    def fresh_prefix(self, name):
        """Ends the current copy's wineserver, removes that copy, and makes a fresh copy of the template
        with a persistent wineserver of its own: the prefix the next test reads and writes alone."""
        old = self.prefix
        if old != self.template:
            self.server("-k", env=self.env, stderr=subprocess.DEVNULL)
            self.server("-w", env=self.env, timeout=60)
            subprocess.run(["chmod", "-R", "u+w", str(old)], stderr=subprocess.DEVNULL)
            shutil.rmtree(old, ignore_errors=True)
        self.copies += 1
        safe = "".join(ch if ch.isalnum() else "-" for ch in name)[:60]
        self.prefix = self.work / f"prefix-{self.copies}-{safe}"
        shutil.rmtree(self.prefix, ignore_errors=True)
        subprocess.run(["cp", "-a", str(self.template), str(self.prefix)], check=True)
        self.env["WINEPREFIX"] = str(self.prefix)
        self.server("-p", env=self.env, check=True)
        if self.dpi and self.dpi != 96:
            self.text_height = int(self.inspect("dpi")["textheight"])

    def _set_dpi_keys(self, dpi):
        self.reg_add(r"HKCU\Control Panel\Desktop", "LogPixels", "REG_DWORD", str(dpi))
        self.reg_add(r"HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts", "LogPixels",
                     "REG_DWORD", str(dpi))

    def set_dpi(self, dpi):
        """Sets the pixel density for the programs started from now on (a new wineserver reads it)."""
        self._set_dpi_keys(dpi)
        self.server("-k", env=self.env)
        self.server("-w", env=self.env, timeout=60)
        self.server("-p", env=self.env, check=True)
        self.dpi = dpi
        self.text_height = int(self.inspect("dpi")["textheight"])

    # ----- Wine
    def server(self, flag, env, **kwargs):
        """Runs wineserver with -k (end it), -w (wait for its end) or -p (keep it running)."""
        kwargs.setdefault("timeout", 120)
        return subprocess.run([WINESERVER, flag], env=env, **self.within(), **kwargs)

    def within(self, cwd=None):
        """Where a Wine command runs: here, or in the lane's chroot, where every path the tests use
        is bind-mounted at the same place, in the same folder."""
        if not self.lane:
            return {"cwd": str(cwd)} if cwd is not None else {}
        root, folder = str(self.lane.root), str(cwd or os.getcwd())

        def enter():
            os.chroot(root)
            os.chdir(folder)
        return {"preexec_fn": enter}

    def wine(self, *args, check_rc=True, cwd=None, timeout=60):
        # Output goes to files, not pipes: Wine's services started on the way inherit the handles and
        # would hold a pipe open long after the command ends.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            rc = subprocess.run([WINE, *args], env=self.env, **self.within(cwd), stdin=subprocess.DEVNULL, stdout=out,
                                stderr=err, timeout=timeout).returncode
            out.seek(0)
            err.seek(0)
            r = subprocess.CompletedProcess(args, rc, out.read().decode(errors="replace"),
                                            err.read().decode(errors="replace"))
        if check_rc and r.returncode != 0:
            raise Failure(f"wine {' '.join(args)} exited {r.returncode}: {r.stderr[-500:]}")
        return r

    def reg_add(self, key, name, kind, data, view=None):
        args = ["reg", "add", key, "/f", "/t", kind, "/d", data]
        args += ["/ve"] if name == "" else ["/v", name]
        if view:
            args.append(f"/reg:{view}")
        self.wine(*args)

    def reg_delete(self, key, view=None):
        args = ["reg", "delete", key, "/f"] + ([f"/reg:{view}"] if view else [])
        self.wine(*args, check_rc=False)

    def windows_path(self, unix_path):
        return "C:\\" + str(Path(unix_path).relative_to(self.prefix / "drive_c")).replace("/", "\\")

    def unix_path(self, windows_path):
        drive, rest = windows_path.split(":", 1)
        check(drive.upper() == "C", "only C: paths are mapped")
        return self.prefix / "drive_c" / rest.lstrip("\\").replace("\\", "/")

    # ----- discs
    def make_disc(self, folder, launcher=BUILD / "Launch.exe", real_documents=False):
        """A disc folder: the launcher and recorder stand-ins for every program it starts."""
        disc = Path(folder)
        for sub in ("Vantrel", "Docs", "Acrobat"):
            (disc / sub).mkdir(parents=True, exist_ok=True)
        shutil.copy(launcher, disc / "Launch.exe")
        recorder = BUILD / "recorder.exe"
        shutil.copy(recorder, disc / "Vantrel" / "Vantrel Install.exe")
        shutil.copy(recorder, disc / "Vantrel" / "Vantrel Upgrade.EXE")
        shutil.copy(recorder, disc / "Acrobat" / "AdbeRdr90_en_US.exe")
        if real_documents:
            subprocess.run([sys.executable, str(ROOT / "scripts" / "demo_documents.py"), str(disc)], check=True)
        else:
            (disc / "Docs" / "Intro.pdf").write_bytes(b"%PDF-1.4\n%%EOF\n")
            (disc / "Docs" / "Vantrel.chm").write_bytes(b"ITSF")
        return disc

    # ----- the launcher
    def start(self, exe, cwd, trace=False, args=(), debug=None, env=None, show=None, timeout=30):
        """Starts a launcher and waits until its window is shown and painted; with `show`, starts it
        through CreateProcess with that show command and waits only for its windows to exist."""
        self.clear_records()
        run_env = dict(self.env, **(env or {}))
        if trace or debug:
            run_env["WINEDEBUG"] = debug or "-all,trace+exec"
        self.trace_path = self.work / f"trace-{len(self.processes)}.log"
        self.trace_file = open(self.trace_path, "w")
        command = [WINE, str(exe), *args] if show is None else [WINE, r"C:\tools\peek.exe", "start", str(show), str(exe)]
        p = subprocess.Popen(command, **self.within(cwd), env=run_env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=self.trace_file)
        self.processes.append(p)
        self.launcher = p
        if show is not None:
            self.info = wait_for(lambda: (lambda i: i if i.get("found") == "1" else None)(self.inspect()), timeout=30,
                                 what="the launcher's windows")
            return p
        info = wait_for(lambda: self._shown(), timeout=timeout, what="the launcher window")
        self.info = info
        self.wait_painted(timeout=max(15, timeout // 2))
        return p

    def wait_painted(self, timeout=15):
        ox, oy = self.origin()
        scaled = self.scaled
        # Painted: the wordmark, painted last of the pictures, is not white paper any more.
        wait_for(lambda: mean(self.screenshot().region(ox + scaled(20), oy + scaled(380), scaled(150), scaled(40)))
                 != (255, 255, 255), timeout=timeout, what="the window to be painted")

    def scaled(self, n):
        """A design length at this session's density, rounded as the system's MulDiv rounds."""
        text = getattr(self, "text_height", 13) if self.dpi and self.dpi != 96 else 13
        return (n * text * 2 + 13) // 26

    def _shown(self):
        if self.launcher.poll() is not None:
            raise Failure(f"the launcher exited early with {self.launcher.returncode}")
        info = self.inspect()
        return info if info.get("main.visible") == "1" else None

    def inspect(self, *args):
        r = self.wine(r"C:\tools\peek.exe", *args, check_rc=False)
        info = {}
        for line in r.stdout.splitlines():
            key, _, value = line.partition("=")
            info.setdefault(key, value) if key not in info else info.update({key: info[key] + "\n" + value})
        return info

    def origin(self):
        x, y = self.info["main.origin"].split(",")
        return int(x), int(y)

    def wait_exit(self, timeout=20):
        try:
            return self.launcher.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the launcher did not end")

    def trace(self):
        self.trace_file.flush()
        return self.trace_path.read_text(errors="replace")

    def shell_requests(self):
        """The ShellExecuteA calls Wine traced, as lists of their six fields."""
        out = []
        for line in self.trace().splitlines():
            if ":trace:exec:ShellExecuteA " in line:
                out.append(line.split(":trace:exec:ShellExecuteA ", 1)[1])
        return out

    # ----- the recorder
    def record_path(self):
        return self.prefix / "drive_c" / "record.log"

    def clear_records(self):
        self.record_path().unlink(missing_ok=True)

    def records(self):
        p = self.record_path()
        if not p.exists():
            return []
        out = []
        for line in p.read_text(encoding="utf-8", errors="replace").splitlines():
            fields = {"arg": []}
            for part in line.split("\t"):
                key, _, value = part.partition("=")
                if key == "arg":
                    fields["arg"].append(value)
                else:
                    fields[key] = value
            out.append(fields)
        return out

    def wait_records(self, count, timeout=20):
        return wait_for(lambda: (lambda r: r if len(r) >= count else None)(self.records()), timeout=timeout,
                        what=f"{count} recorded start(s)")

    # ----- X
    def x_window_at(self, left, top, width, height):
        """The X window of exactly that geometry, or None."""
        tree = subprocess.run(["xwininfo", "-root", "-tree", "-display", self.display], capture_output=True,
                              text=True).stdout
        for line in tree.splitlines():
            if f" {width}x{height}+{left}+{top} " in line + " ":
                return line.split()[0]
        return None

    def screenshot(self, window=None):
        target = ["-id", window] if window else ["-root"]
        xwd = subprocess.run(["xwd", *target, "-silent", "-display", self.display], capture_output=True, check=True)
        ppm = subprocess.run([CONVERT, "xwd:-", "ppm:-"], input=xwd.stdout, capture_output=True, check=True).stdout
        # P6 header: magic, width, height, maxval, each followed by white space.
        fields, at = [], 0
        while len(fields) < 4:
            while ppm[at:at + 1].isspace():
                at += 1
            if ppm[at:at + 1] == b"#":  # a comment runs to the end of its line
                at = ppm.index(b"\n", at)
                continue
            start = at
            while not ppm[at:at + 1].isspace():
                at += 1
            fields.append(ppm[start:at])
        at += 1
        return Image(int(fields[1]), int(fields[2]), ppm[at:])

    def xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env={**os.environ, "DISPLAY": self.display}, check=True)

    def move(self, x, y):
        """Moves the pointer to client coordinates (x, y) of the launcher window."""
        ox, oy = self.origin()
        self.xdotool("mousemove", ox + x, oy + y)

    def click(self, x, y):
        # Two clicks within the double-click time make a double-click, which clicks once: keep apart.
        since = time.monotonic() - getattr(self, "_last_click", 0.0)
        if since < 0.6:
            time.sleep(0.6 - since)
        self.move(x, y)
        time.sleep(0.05)
        self.xdotool("click", "1")
        self._last_click = time.monotonic()

    def client_shot(self, width=616, height=448):
        ox, oy = self.origin()
        shot = self.screenshot()
        return Image(width, height, bytes(b for y in range(oy, oy + height)
                                          for b in shot.rgb[(y * shot.width + ox) * 3:(y * shot.width + ox + width) * 3]))
