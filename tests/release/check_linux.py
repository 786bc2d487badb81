#!/usr/bin/env python3
"""Checks the native Linux launcher: that it runs on the Linux desktops a disc meets, not only on the
machine that built it. Its dynamic dependencies are glibc, libgcc's unwinder and the GTK 3 stack
only; it needs no glibc symbol newer than 2.34; it exports nothing (libjpeg and libstdc++ are linked
in statically and hidden, so no system library binds to them).

usage: check_linux.py path/to/Launch.x86_64
"""
import re
import subprocess
import sys

ACCEPTED = {
    "libc.so.6", "libm.so.6", "ld-linux-x86-64.so.2", "libgcc_s.so.1",
    "libgtk-3.so.0", "libgdk-3.so.0", "libpangocairo-1.0.so.0", "libpango-1.0.so.0", "libcairo.so.2",
    "libgdk_pixbuf-2.0.so.0", "libgio-2.0.so.0", "libgobject-2.0.so.0", "libglib-2.0.so.0",
    "libX11.so.6",  # asking the window manager for the frame, which GDK's X11 backend loads anyway
    "libatk-1.0.so.0",  # the accessible objects screen readers read; part of the GTK 3 stack
}
NEWEST_GLIBC = (2, 34)


def main(exe):
    results = []

    def check(name, ok, detail=""):
        results.append(ok)
        print(f"{'PASS' if ok else 'FAIL'} linux.{name}{'' if ok else ': ' + detail}")

    headers = subprocess.run(["objdump", "-p", exe], capture_output=True, text=True, check=True).stdout
    symbols = subprocess.run(["objdump", "-T", exe], capture_output=True, text=True, check=True).stdout
    needed = set(re.findall(r"NEEDED\s+(\S+)", headers))
    check("needs_only_glibc_libgcc_s_and_gtk", needed <= ACCEPTED, f"also needs {sorted(needed - ACCEPTED)}")
    check("links_libjpeg_and_libstdcxx_statically", not any("jpeg" in n or "stdc++" in n for n in needed),
          f"needs {sorted(needed)}")
    versions = {tuple(int(p) for p in v.split(".")) for v in re.findall(r"GLIBC_(\d+(?:\.\d+)+)", symbols)}
    newest = max(versions, default=(0,))
    check("glibc_2_34_at_most", newest <= NEWEST_GLIBC, f"needs GLIBC_{'.'.join(map(str, newest))}")
    exported = [line.split()[-1] for line in symbols.splitlines()
                if re.search(r"\s(DF|DO)\s", line) and " *UND*" not in line]
    check("exports_nothing", not exported, f"exports {exported[:8]}")
    passed = sum(results)
    print(f"linux: {passed} passed, {len(results) - passed} failed")
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
