#!/usr/bin/env python3
"""Runs the end-to-end tests: every test_* function of the test_*.py modules beside this file.

usage: run.py [--lane] [name-substring ...]
With --lane, runs the release lane's lane_* functions of lane_*.py instead, in the WoW64 chroot that
scripts/release32.sh enters (VANTREL_LANE_ROOT, VANTREL_LANE_PREFIX).
Each test gets a fresh copy of the session's template Wine prefix and a fresh disc folder in it.
E2E_ORDER=shuffle:SEED (or shuffle, which picks a seed and prints it) runs the tests in a shuffled
order that the seed replays. Prints one line a test and closes with "e2e: N passed, N failed";
exits 1 when any failed.
"""
import importlib
import os
import random
import shutil
import sys
import time
import traceback
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import harness  # noqa: E402


def main(args):
    lane = "--lane" in args
    filters = [a for a in args if a != "--lane"]
    kind = "lane" if lane else "test"
    here = Path(__file__).resolve().parent
    out = harness.ROOT / "build" / "e2e"
    out.mkdir(parents=True, exist_ok=True)
    tests = []
    for module_path in sorted(here.glob(f"{kind}_*.py")):
        module = importlib.import_module(module_path.stem)
        for name in dir(module):
            if name.startswith(f"{kind}_") and callable(getattr(module, name)):
                full = f"{module_path.stem}.{name}"
                if not filters or any(f in full for f in filters):
                    tests.append((full, getattr(module, name)))
    order = os.environ.get("E2E_ORDER", "")
    if order.startswith("shuffle"):
        seed = order.partition(":")[2] or str(random.randrange(1 << 32))
        random.Random(seed).shuffle(tests)
        print(f"e2e order: shuffle:{seed} (E2E_ORDER=shuffle:{seed} replays it)", flush=True)
    passed = failed = 0
    started = time.monotonic()
    session = harness.Session(work=out / "session")
    if lane:
        session = harness.Session(work=out / "lane", lane=harness.Lane(os.environ["VANTREL_LANE_ROOT"],
                                                                        os.environ["VANTREL_LANE_PREFIX"]))
    with session:
        context = Context(session, out)
        for full, test in tests:
            t0 = time.monotonic()
            try:
                context.begin(full)
                test(context)
                passed += 1
                print(f"PASS {full} ({time.monotonic() - t0:.1f} s)", flush=True)
            except Exception as e:  # a failing test must not stop the others
                failed += 1
                detail = str(e) if isinstance(e, harness.Failure) else traceback.format_exc()
                print(f"FAIL {full}: {detail}", flush=True)
                try:
                    session.screenshot().save_png(out / f"{full}.failed.png")
                    for trace in session.work.glob("trace-*.log"):  # Wine's output, a crash's included
                        shutil.copy(trace, out / f"{full}.{trace.name}")
                except Exception:
                    pass
            finally:
                context.reset()
    label = "release32" if lane else "e2e"
    print(f"{label} took {time.monotonic() - started:.0f} s")
    print(f"{label}: {passed} passed, {failed} failed")
    return 0 if failed == 0 and passed > 0 else 1


class Context:
    """What each test gets: the session, a fresh disc folder and an output folder."""

    def __init__(self, session, out):
        self.s = session
        self.out = out
        self.count = 0
        self.disc = None

    def new_disc(self):
        self.count += 1
        return self.s.make_disc(self.s.prefix / "drive_c" / f"disc{self.count}")

    def begin(self, name):
        """A test's own state: a fresh prefix copied from the template, and a disc folder in it."""
        self.s.fresh_prefix(name)
        self.disc = self.new_disc()

    def reset(self):
        for p in self.s.processes:
            if p.poll() is None:
                p.kill()
                p.wait(10)
        self.s.processes.clear()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
