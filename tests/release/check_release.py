#!/usr/bin/env python3
"""Checks the release Launch.exe: a 32-bit GUI program of at most 320 KiB, relocatable (ASLR), that
imports nothing but Windows' known DLLs and carries the main icon and the version record.

usage: check_release.py path/to/Launch.exe
"""
import struct
import subprocess
import sys
from pathlib import Path

# Known DLLs only (msvcrt from Windows 7 on): nothing a DLL planted beside the launcher could replace.
# comctl32, shell32 and ole32 are loaded at run time by their full system paths.
LIMIT = 320 * 1024  # bytes
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "msvcrt.dll"}


def main(exe):
    exe = Path(exe)
    results = []

    def check(name, ok, detail=""):
        results.append(ok)
        print(f"{'PASS' if ok else 'FAIL'} release.{name}{'' if ok else ': ' + detail}")

    size = exe.stat().st_size
    check("size_at_most_320_KiB", size <= LIMIT, f"{size} bytes, limit {LIMIT}")
    dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", str(exe)], capture_output=True, text=True).stdout
    sections = subprocess.run(["i686-w64-mingw32-objdump", "-h", str(exe)], capture_output=True, text=True).stdout
    check("relocatable_for_aslr", " .reloc " in sections and "DYNAMIC_BASE" in dump, "no .reloc or no DYNAMIC_BASE")
    check("not_packed", " .text " in sections and "UPX" not in sections, "an executable packer's sections")
    check("is_pe32", "file format pei-i386" in dump and "(PE32)" in dump, "not a 32-bit PE")
    check("gui_subsystem", "(Windows GUI)" in dump, "not the GUI subsystem")
    dlls = {line.split(":", 1)[1].strip().lower() for line in dump.splitlines() if "DLL Name:" in line}
    check("imports_only_known_dlls", dlls <= WINDOWS_DLLS, f"imports {sorted(dlls - WINDOWS_DLLS)}")

    rc = subprocess.run(["i686-w64-mingw32-windres", "-i", str(exe), "-O", "rc"], capture_output=True,
                        text=True, errors="replace").stdout
    wanted = {
        "FileDescription": "CDROM Billboard Application", "FileVersion": "4.0.4.87", "ProductVersion": "1.0",
        "InternalName": "", "LegalTrademarks": "", "OriginalFilename": "", "Comments": "",
    }
    for key, value in wanted.items():
        check(f"version_{key}", f'VALUE "{key}", "{value}"' in rc, f"{key} is not {value!r}")
    check("version_numbers", "FILEVERSION 4, 0, 4, 87" in rc and "PRODUCTVERSION 4, 0, 4, 87" in rc, "fixed versions")
    check("version_flags", "FILEOS 0x4" in rc and "FILETYPE 0x1" in rc and "FILEFLAGS" not in rc.replace("FILEFLAGSMASK", ""),
          "file flags 0, 32-bit Windows, application")
    check("version_language", 'BLOCK "040904E4"' in rc and "0x409, 1252" in rc, "U.S. English, code page 1252")
    check("manifest_as_invoker_and_dpi_aware", 'level=""asInvoker""' in rc and "dpiAware" in rc, "manifest")

    icon = (Path(__file__).resolve().parents[2] / "assets" / "vantrel.ico").read_bytes()
    count = struct.unpack_from("<H", icon, 4)[0]
    entries = [struct.unpack_from("<BBBBHH", icon, 6 + 16 * i) for i in range(count)]
    check("icon_three_sizes_24_bit", [(e[0], e[1], e[5]) for e in entries] == [(16, 16, 24), (32, 32, 24), (48, 48, 24)],
          f"icon entries {entries}")
    check("icon_embedded", "Type: icon" in rc and "Type: group icon" in rc, "no icon resource")

    print(f"release Launch.exe: {size} bytes (limit {LIMIT})")
    passed = sum(results)
    print(f"release: {passed} passed, {len(results) - passed} failed")
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
