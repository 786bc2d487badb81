#!/usr/bin/env python3
"""Runs the launcher from a demo disc, under Wine and natively on Linux, and saves a screenshot of each
window: build/demo/screenshot.png (Windows) and build/demo/screenshot-linux.png.

The disc, in the demo's Wine prefix at C:\\disc, is the demo payload (build/demo-payload: real NSIS
installers that install Vantrel 1.0 and upgrade it to 1.1, a real PDF and a real compiled help file)
with the launcher's 64-bit twin (this machine's Wine cannot run 32-bit programs) and the native
Launch.x86_64 at its root. With a display (DISPLAY set) each launcher stays up until it is closed:
click "Install Vantrel for Windows", and again to upgrade. Without one they run in a virtual display,
where the demo clicks Install twice itself and says what the registry then holds.
"""
import os
import shutil
import signal
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402


def main():
    out = harness.ROOT / "build" / "demo"
    shown = bool(os.environ.get("DISPLAY"))
    if shown:
        os.environ["VANTREL_DISPLAY"] = os.environ["DISPLAY"]
    with harness.Session(work=out, recorders=not shown) as session:
        disc = session.prefix / "drive_c" / "disc"
        shutil.copytree(harness.ROOT / "build" / "demo-payload", disc)
        shutil.copy(harness.BUILD / "Launch.exe", disc / "Launch.exe")
        session.start(disc / "Launch.exe", disc)
        shot = out / "screenshot.png"
        left, top, width, height = (int(v) for v in session.info["main.window"].split(","))
        full = session.screenshot()
        harness.Image(width, height, bytes(
            b for y in range(top, top + height)
            for b in full.rgb[(y * full.width + left) * 3:(y * full.width + left + width) * 3])).save_png(shot)
        print(f"demo: the launcher runs from {disc}; screenshot saved to {shot}")
        if shown:
            print("demo: click Install Vantrel for Windows, then again to upgrade; close the launcher to end")
            session.launcher.wait()
        else:
            install_then_upgrade(session)
            session.launcher.kill()
        run_linux(session, disc, out / "screenshot-linux.png", shown)
    return 0


def install_then_upgrade(session):
    """Clicks Install twice: the real installer records 1.0, the upgrader then 1.1."""
    key = r"HKLM\SOFTWARE\Orun\Vantrel\AppInfo"
    for version in ("1.0", "1.1"):
        session.click(40, 240)
        harness.wait_for(lambda: version in session.wine("reg", "query", key, "/v", "CurrentVersion", "/reg:32",
                                                         check_rc=False).stdout,
                         timeout=90, interval=1, what=f"CurrentVersion {version}")
        harness.wait_for(lambda: f"Vantrel {version} Setup" not in subprocess.run(
            ["xwininfo", "-root", "-tree", "-display", session.display], capture_output=True, text=True).stdout,
            timeout=30, what=f"the installer of {version} to close")
        print(f"demo: clicked Install: {'installed' if version == '1.0' else 'upgraded to'} Vantrel {version}"
              f" (CurrentVersion {version} in the registry)")
        session.click(300, 170)  # the launcher active again


def run_linux(session, disc, shot, shown):
    """The native launcher on the same disc, on its own session bus, with the demo's Wine prefix."""
    shutil.copy(harness.ROOT / "build" / "linux" / "bin" / "Launch.x86_64", disc / "Launch.x86_64")
    env = dict(session.env if not shown else os.environ, WINEPREFIX=str(session.prefix))
    env.pop("WINEDEBUG", None)
    p = subprocess.Popen(["dbus-run-session", "--", str(disc / "Launch.x86_64")], cwd=str(disc), env=env,
                         stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                         start_new_session=True)

    def window():
        tree = subprocess.run(["xwininfo", "-root", "-tree", "-display", session.display], capture_output=True,
                              text=True).stdout
        line = next((ln for ln in tree.splitlines() if '"Vantrel Setup"' in ln and " 616x448+" in ln), None)
        return tuple(int(v) for v in line.split(" 616x448+", 1)[1].split()[0].split("+")) if line else None

    try:
        left, top = harness.wait_for(window, timeout=30, what="the Linux launcher's window")
        harness.wait_for(lambda: harness.mean(session.screenshot().region(left + 20, top + 380, 150, 40))
                         != (255, 255, 255), what="the Linux window to be painted")
        full = session.screenshot()
        harness.Image(616, 448, bytes(b for y in range(top, top + 448)
                                      for b in full.rgb[(y * full.width + left) * 3:(y * full.width + left + 616) * 3])
                      ).save_png(shot)
        print(f"demo: the Linux launcher runs from {disc}; screenshot saved to {shot}")
        if shown:
            print("demo: close the Linux launcher to end")
            p.wait()
    finally:
        if p.poll() is None:
            os.killpg(p.pid, signal.SIGKILL)
            p.wait()


if __name__ == "__main__":
    sys.exit(main())
