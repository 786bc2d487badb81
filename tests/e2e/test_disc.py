"""The disc: its image, its signature, and the twin running from it as a read-only CD-ROM under Wine."""
import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

import harness
from harness import check, wait_for

MAKE_DISC = harness.ROOT / "scripts" / "make_disc.sh"
PAYLOAD = harness.ROOT / "build" / "demo-payload"
EXPECTED = {
    "/Launch.exe": "-r--r--r--", "/Launch.x86_64": "-r-xr-xr-x", "/autorun.inf": "-r--r--r--",
    "/autorun.sh": "-r-xr-xr-x", "/Vantrel": "dr-xr-xr-x", "/Vantrel/Vantrel Install.exe": "-r--r--r--",
    "/Vantrel/Vantrel Upgrade.EXE": "-r--r--r--", "/Docs": "dr-xr-xr-x", "/Docs/Intro.pdf": "-r--r--r--",
    "/Docs/Vantrel.chm": "-r--r--r--", "/Acrobat": "dr-xr-xr-x", "/Acrobat/AdbeRdr90_en_US.exe": "-r--r--r--",
}


def make_disc(*args, env=None):
    return subprocess.run(["bash", str(MAKE_DISC), *map(str, args)], capture_output=True, text=True,
                          env={**os.environ, **(env or {})}, timeout=600)


def listing(image, joliet=False):
    """Path to mode of every file in the image's Rock Ridge view, or the names of its Joliet view."""
    args = ["xorriso", *(["-read_fs", "norock"] if joliet else []), "-indev", str(image), "-find", "/", "-exec", "lsdl", "--"]
    out = subprocess.run(args, capture_output=True, text=True).stdout
    return {line.split("'", 1)[1].rstrip("'"): line.split()[0] for line in out.splitlines() if "'" in line}


def extract(image, into):
    subprocess.run(["xorriso", "-osirrox", "on", "-indev", str(image), "-extract", "/", str(into)], check=True,
                   capture_output=True)


def test_the_disc_image_is_exact_reproducible_and_refuses_an_incomplete_payload(c):
    work = Path(tempfile.mkdtemp(dir=c.out))
    first, second = work / "a.iso", work / "b.iso"
    for image in (first, second):
        r = make_disc("", image)
        check(r.returncode == 0, f"make_disc failed: {r.stderr[-400:]}")
    check("not signed" in r.stdout, f"an unsigned build says so: {r.stdout}")
    check(first.read_bytes() == second.read_bytes(), "two builds from the same inputs differ")
    rock = listing(first)
    check({p: m for p, m in rock.items() if p != "/"} == EXPECTED, f"the Rock Ridge tree: {rock}")
    joliet = set(listing(first, joliet=True)) - {"/"}
    check(joliet == set(EXPECTED), f"the Joliet tree: {sorted(joliet)}")
    tree = work / "tree"
    extract(first, tree)
    inf = (tree / "autorun.inf").read_bytes()
    check(inf.startswith(b"[autorun]\r\n") and b"\r\nopen=Launch.exe\r\n" in inf and b"\nicon=Launch.exe,0\r\n" in inf
          and b"UseAutoPlay" not in inf and all(b < 128 for b in inf), f"autorun.inf: {inf!r}")
    label = next(line for line in inf.decode().split("\r\n") if line.startswith("label="))
    check(len(label) - len("label=") <= 32, f"label {label}")
    check((tree / "autorun.sh").read_bytes().startswith(b"#!/bin/sh\n") and b"\r" not in (tree / "autorun.sh").read_bytes(),
          "autorun.sh: a shell script with LF")
    # The demo installers rebuild to the same bytes.
    again = work / "payload-again"
    subprocess.run(["bash", str(harness.ROOT / "scripts" / "make_demo_payload.sh"), str(again)], check=True,
                   capture_output=True, cwd=harness.ROOT)
    for installer in ("Vantrel/Vantrel Install.exe", "Vantrel/Vantrel Upgrade.EXE", "Acrobat/AdbeRdr90_en_US.exe"):
        check((again / installer).read_bytes() == (PAYLOAD / installer).read_bytes(), f"{installer} rebuilt differs")
    def payload_with(change):
        payload = work / "payload"
        shutil.rmtree(payload, ignore_errors=True)
        shutil.copytree(PAYLOAD, payload)
        change(payload)
        return payload

    # Refused: a file missing, present only in another case, or a name Joliet cannot carry.
    for what, change, why in (
            ("missing", lambda p: (p / "Docs" / "Intro.pdf").unlink(), "lacks"),
            ("in another case", lambda p: (p / "Vantrel" / "Vantrel Upgrade.EXE").rename(
                p / "Vantrel" / "Vantrel Upgrade.exe"), "lacks"),
            ("beyond U+FFFF", lambda p: (p / "Docs" / "Notes \U0001F600.txt").write_text("x"), "U+FFFF")):
        image = work / "refused.iso"
        r = make_disc(payload_with(change), image)
        check(r.returncode != 0 and why in r.stderr, f"{what}: not refused: {r.stderr}")
        check(not image.exists(), f"{what}: an image was written")
    # A name beyond ASCII is kept as written, whatever the locale's character set.
    payload = payload_with(lambda p: (p / "Docs" / "\u00dcberblick.txt").write_text("x"))
    images = [work / "c.iso", work / "utf8.iso"]
    for image, locale in zip(images, ("C", "C.UTF-8")):
        r = make_disc(payload, image, env={"LANG": locale, "LC_ALL": locale})
        check(r.returncode == 0, f"{locale}: {r.stderr[-300:]}")
    check(images[0].read_bytes() == images[1].read_bytes(), "the image changes with the locale")
    check("/Docs/\u00dcberblick.txt" in listing(images[0], joliet=True), f"Joliet: {sorted(listing(images[0], joliet=True))}")
    subprocess.run(["chmod", "-R", "u+w", str(work)])
    shutil.rmtree(work)


def test_a_signed_disc_carries_a_launcher_that_verifies_against_its_ca(c):
    work = Path(tempfile.mkdtemp(dir=c.out))

    def openssl(*args):
        subprocess.run(["openssl", *args], cwd=work, check=True, capture_output=True)

    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.crt", "-days", "30",
            "-subj", "/CN=Vantrel Test CA", "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign")
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", "sign.key", "-out", "sign.csr", "-subj", "/CN=Orun Test")
    (work / "ext").write_text("extendedKeyUsage=codeSigning\nkeyUsage=digitalSignature\n")
    openssl("x509", "-req", "-in", "sign.csr", "-CA", "ca.crt", "-CAkey", "ca.key", "-CAcreateserial", "-out", "sign.crt",
            "-days", "30", "-extfile", "ext")
    (work / "pass").write_text("s3cret")
    openssl("pkcs12", "-export", "-inkey", "sign.key", "-in", "sign.crt", "-out", "sign.p12", "-passout", "file:pass")
    signed, unsigned = work / "signed.iso", work / "unsigned.iso"
    r = make_disc("", signed, env={"VANTREL_SIGN_PKCS12": str(work / "sign.p12"),
                                   "VANTREL_SIGN_PASSWORD_FILE": str(work / "pass")})
    check(r.returncode == 0 and "signed with" in r.stdout, f"signing failed: {r.stdout} {r.stderr[-400:]}")
    check(make_disc("", unsigned).returncode == 0, "the unsigned build failed")
    for image, want in ((signed, 0), (unsigned, 1)):
        tree = work / image.stem
        extract(image, tree)
        rc = subprocess.run(["osslsigncode", "verify", "-CAfile", str(work / "ca.crt"), "-in", str(tree / "Launch.exe")],
                            capture_output=True).returncode
        check((rc == 0) == (want == 0), f"{image.name}: osslsigncode verify gave {rc}")
    subprocess.run(["chmod", "-R", "u+w", str(work)])
    shutil.rmtree(work)


def tree_listing(root):
    return sorted((str(p.relative_to(root)), oct(p.stat().st_mode), p.stat().st_size, int(p.stat().st_mtime))
                  for p in Path(root).rglob("*"))


def test_the_twin_disc_runs_from_a_read_only_cdrom_installs_then_upgrades(c):
    work = Path(tempfile.mkdtemp(dir=c.out))
    image, tree, mount = work / "twin.iso", work / "tree", work / "cdrom"
    r = make_disc("--twin", "", image)
    check(r.returncode == 0, f"make_disc --twin failed: {r.stderr[-400:]}")
    extract(image, tree)
    mount.mkdir()
    subprocess.run(["mount", "--bind", str(tree), str(mount)], check=True)
    drive = c.s.prefix / "dosdevices" / "d:"
    key = r"HKLM\SOFTWARE\Orun\Vantrel\AppInfo"
    try:
        subprocess.run(["mount", "-o", "remount,ro,bind", str(mount)], check=True)
        check(subprocess.run(["touch", str(mount / "probe")], capture_output=True).returncode != 0, "the CD-ROM is writable")
        drive.unlink(missing_ok=True)
        drive.symlink_to(mount)
        c.s.reg_add(r"HKLM\Software\Wine\Drives", "d:", "REG_SZ", "cdrom")
        for view in ("32", "64"):
            c.s.reg_delete(key, view=view)
        before = tree_listing(mount)
        c.s.start("D:\\Launch.exe", mount, trace=True)
        for n, version in enumerate(("1.0", "1.1"), start=1):  # the real installer, then the upgrader
            c.s.click(40, 240)

            def installed():
                out = c.s.wine("reg", "query", key, "/v", "CurrentVersion", "/reg:32", check_rc=False).stdout
                return version in out
            wait_for(installed, timeout=90, interval=1, what=f"CurrentVersion {version} written by the installer")
            wait_for(lambda: f"Vantrel {version} Setup" not in subprocess.run(
                ["xwininfo", "-root", "-tree", "-display", c.s.display], capture_output=True, text=True).stdout,
                timeout=30, what=f"the installer of {version} to close")
        c.s.click(300, 170)  # white paper: the launcher is active again
        clicks = [(100, 80), (500, 150), (300, 400), (40, 200), (40, 285)]
        for x, y in clicks:
            c.s.click(x, y)
        try:
            wait_for(lambda: len(c.s.shell_requests()) == 2 + len(clicks), timeout=30, what="every request")
        except harness.Failure as e:
            c.s.screenshot().save_png(c.out / "cdrom-requests.png")
            raise harness.Failure(f"{e}: {c.s.shell_requests()}")
        requests = [r.split(",", 1)[1] for r in c.s.shell_requests()]
        check(requests[0] == '(null),"Vantrel\\\\Vantrel Install.exe",(null),"D:",1', f"install request {requests[0]}")
        check(requests[1] == '(null),"Vantrel\\\\Vantrel Upgrade.EXE",(null),"D:",1', f"upgrade request {requests[1]}")
        check(tree_listing(mount) == before, "the disc's tree changed")
    finally:
        for p in c.s.processes:
            if p.poll() is None:
                p.kill()
        time.sleep(0.5)
        drive.unlink(missing_ok=True)
        c.s.reg_delete(r"HKLM\Software\Wine\Drives")
        for view in ("32", "64"):
            c.s.reg_delete(key, view=view)
        subprocess.run(["umount", str(mount)])
        subprocess.run(["chmod", "-R", "u+w", str(work)])
        shutil.rmtree(work, ignore_errors=True)
