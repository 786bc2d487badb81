#!/usr/bin/env python3
"""Start-up benchmark under Wine: time from process start to the first paint on the screen, for the
launcher's x86-64 twin against a bare Win32 window of the same size, and against the same bare
window that also loads comctl32 and makes a tooltip after its first paint, as the launcher does.

Painted means: the wordmark's blue covers part of the wordmark's place, which only the finished first
paint colours (it reaches the screen in one copy of the whole client area; the bare programs paint
that blue there). The detector, build/linux/bin/paintwait, spawns each program itself and polls that
small region with XGetImage about every millisecond, both on CLOCK_MONOTONIC_RAW. Rounds alternate the
three programs in one prefix with a running wineserver, after one warm-up round. Resident memory
(VmRSS) is read one second after the paint.

A build of the twin with start-up marks (build/bench-marks) then gives the breakdown of the
launcher's start, each mark in ms after the spawn, as medians.

usage: bench.py [rounds] [runs] [linux]   (defaults: 9 rounds, 3 runs; linux: the Linux launcher alone,
at 100 % and at 200 %)
"""
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402

PAINTWAIT = harness.ROOT / "build" / "linux" / "bin" / "paintwait"
MARKS_TWIN = harness.ROOT / "build" / "bench-marks" / "bin" / "Launch.exe"
CLIENT = (204, 168)  # both windows' client origin: the same outer size, centred alike on 1024 x 768
LINUX_CLIENT = (204, 160)  # the GTK windows: no frame without a window manager
LINUX_LAUNCHER = harness.ROOT / "build" / "linux" / "bin" / "Launch.x86_64"
BARE_GTK = harness.ROOT / "build" / "linux" / "bin" / "bare_gtk"
REGION = (150, 385, 150, 30)  # in the client area: part of the wordmark
RATIO_LIMIT, MEMORY_LIMIT_KB = 1.15, 1536
LINUX_RATIO_LIMIT, LINUX_MEMORY_LIMIT_KB = 1.10, 2048


def rss_kb(pid):
    try:
        for line in open(f"/proc/{pid}/status"):
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    except FileNotFoundError:
        pass
    return 0


def gone(pid):
    try:
        return open(f"/proc/{pid}/stat").read().split(") ", 1)[1].startswith("Z")
    except FileNotFoundError:
        return True


def run_once(session, command, env=None, client=CLIENT, scale=1):
    """Spawns `command`, returns (ms to painted, spawn time in ns, VmRSS in kB one second later)."""
    left, top = client[0] + REGION[0] * scale, client[1] + REGION[1] * scale
    with tempfile.TemporaryFile("w+") as printed:  # a file, not a pipe: see paintwait
        out = subprocess.run([str(PAINTWAIT), str(left), str(top), str(REGION[2]), str(REGION[3]), "1d5fa8", "40", "200",
                              "30000", *command], env=env or session.env, stdout=printed, timeout=60)
        printed.seek(0)
        fields = dict(part.split("=", 1) for part in printed.read().split())
    pid = int(fields["pid"])
    try:
        if out.returncode != 0:
            raise SystemExit(f"{command[-1]} did not paint within 30 s")
        spawn, painted = int(fields["spawn_ns"]), int(fields["painted_ns"])
        time.sleep(1.0)
        memory = rss_kb(pid)
    finally:
        os.kill(pid, signal.SIGKILL)
        harness.wait_for(lambda: gone(pid), timeout=20, what="the program to end")
    # Wait until the window has left the screen before the next program starts.
    harness.wait_for(lambda: harness.mean(session.screenshot().region(left, top, 20, 10))[2] < 100, timeout=20,
                     what="the window to disappear")
    return (painted - spawn) / 1e6, spawn, memory


def summary(values):
    return f"median {statistics.median(values):6.1f}  min {min(values):6.1f}  max {max(values):6.1f}"


def measure(session, programs, rounds, env=None, client=CLIENT, scale=1):
    times = {name: [] for name in programs}
    memory = {name: [] for name in programs}
    for command in programs.values():  # warm-up: Wine maps its DLLs once
        run_once(session, command, env, client, scale)
    for _ in range(rounds):
        for name, command in programs.items():
            ms, _, kb = run_once(session, command, env, client, scale)
            times[name].append(ms)
            memory[name].append(kb)
    return times, memory


def breakdown(session, disc, rounds=5):
    log = session.prefix / "drive_c" / "marks.log"
    exe = disc / "LaunchMarks.exe"
    exe.write_bytes(MARKS_TWIN.read_bytes())
    env = dict(session.env, VANTREL_MARKS="C:\\marks.log")
    rows = {}
    for _ in range(rounds):
        log.unlink(missing_ok=True)
        _, spawn, _ = run_once(session, [harness.WINE, str(exe)], env)
        harness.wait_for(log.exists, timeout=5, what="the marks")
        seen = {}
        for line in log.read_text().splitlines():
            what, detail, ns = line.split("\t")
            key = f"{what} {detail}".strip()
            seen[key] = seen.get(key, 0) + 1
            if seen[key] > 1:
                key += f" #{seen[key]}"
            rows.setdefault(key, []).append((int(ns) - spawn) / 1e6)
    print(f"\nbreakdown of the launcher's start (marks build, ms after the spawn, median of {rounds}):")
    for key, values in rows.items():
        print(f"  {key:32} {statistics.median(values):7.1f}")


def compare(session, programs, rounds, runs, label, memory_base, memory_limit=None, env=None, client=CLIENT, scale=1,
            ratio_limit=None):
    """Runs of alternating rounds; prints each program's times and memory, the ratio of the first to the
    second program's median per run, and the median of those ratios."""
    launcher, bare = list(programs)[:2]
    ratios = []
    for run in range(1, runs + 1):
        times, memory = measure(session, programs, rounds, env, client, scale)
        print(f"{label}run {run} of {runs}: start to painted, {rounds} alternating rounds after a warm-up (ms)")
        for name in programs:
            print(f"  {name:14} {summary(times[name])}   VmRSS after 1 s: median {statistics.median(memory[name]):6.0f} kB")
        ratios.append(statistics.median(times[launcher]) / statistics.median(times[bare]))
        others = "".join(f"; {launcher} / {name}: {statistics.median(times[launcher]) / statistics.median(times[name]):.2f}"
                         for name in list(programs)[2:])
        print(f"  ratio of medians {launcher} / {bare}: {ratios[-1]:.2f} (limit {ratio_limit or RATIO_LIMIT}){others}")
        over = statistics.median(memory[launcher]) - statistics.median(memory[memory_base])
        limit = f" (limit {memory_limit} kB)" if memory_limit else ""
        print(f"  resident memory above {memory_base}: {over:.0f} kB{limit}")
    print(f"{label}ratio per run: {', '.join(f'{r:.2f}' for r in ratios)}; median {statistics.median(ratios):.2f} "
          f"(limit {ratio_limit or RATIO_LIMIT}); spread {max(ratios) - min(ratios):.2f}\n")


def main(rounds, runs, only_linux=False):
    out = harness.ROOT / "build" / "bench"
    with harness.Session(work=out / "session") as session:
        if only_linux:
            linux(session, session.make_disc(session.prefix / "drive_c" / "disc"), rounds, runs)
            return 0
        disc = session.make_disc(session.prefix / "drive_c" / "disc")
        bare = session.prefix / "drive_c" / "tools" / "bare.exe"
        programs = {
            "launcher": [harness.WINE, str(disc / "Launch.exe")],
            "bare": [harness.WINE, str(bare)],
            "bare+comctl32": [harness.WINE, str(bare), "comctl32"],
        }
        compare(session, programs, rounds, runs, "", "bare+comctl32", MEMORY_LIMIT_KB)
        if MARKS_TWIN.exists():
            breakdown(session, disc)
        linux(session, disc, rounds, runs)
    return 0


def linux(session, disc, rounds, runs):
    """The native Linux launcher against a bare GTK window of the same size that draws one line of text."""
    exe = disc / "Launch.x86_64"
    exe.write_bytes(LINUX_LAUNCHER.read_bytes())
    exe.chmod(0o755)
    env = {k: v for k, v in session.env.items() if not k.startswith("WINEDEBUG")}
    env.update(NO_AT_BRIDGE="1", WINEPREFIX=str(session.prefix))
    env.pop("DBUS_SESSION_BUS_ADDRESS", None)
    programs = {"linux launcher": [str(exe)], "bare gtk": [str(BARE_GTK)]}
    print()
    compare(session, programs, rounds, runs, "linux ", "bare gtk", LINUX_MEMORY_LIMIT_KB, env=env, client=LINUX_CLIENT,
            ratio_limit=LINUX_RATIO_LIMIT)
    # At 200 % (GDK_SCALE=2, as GNOME scales), on a screen the doubled window fits: 1600 x 1200 device
    # pixels, 800 x 600 logical, where both windows' client areas start at (92, 76) logical.
    with harness.Session(work=harness.ROOT / "build" / "bench" / "scale2", screen="1600x1200x24", wine=False) as large:
        env2 = dict(env, DISPLAY=large.display, GDK_SCALE="2")
        compare(large, programs, rounds, runs, "linux at 200 % ", "bare gtk", env=env2, client=(184, 152), scale=2,
                ratio_limit=LINUX_RATIO_LIMIT)


if __name__ == "__main__":
    sys.exit(main(int(sys.argv[1]) if len(sys.argv) > 1 else 9, int(sys.argv[2]) if len(sys.argv) > 2 else 3,
                  "linux" in sys.argv[3:]))
