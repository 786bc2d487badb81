"""The launcher where customers run it: other densities, restored by any route, planted DLLs, the
banner hint's return, log-off, long and non-Western folders."""
import shutil
import time

import harness
from harness import check, mean, wait_for

WHATS_NEW_TOP, INSTALL_TOP, PHOTO_LEFT = 191, 234, 456


def ints(text):
    return [int(v) for v in text.split(",")]


def ink_rows_and_right(shot, s, top):
    """The first and last rows and the last column holding dark ink in the link row at `top`."""
    rows, right = [], -1
    for y in range(s.scaled(top), s.scaled(top + 36)):
        for x in range(s.scaled(22) - 2, s.scaled(PHOTO_LEFT + 4)):
            p = shot.pixel(x, y)
            if max(p) < 128:
                rows.append(y)
                right = max(right, x)
    return (min(rows), max(rows), right) if rows else (0, -1, -1)


def test_at_144_and_192_dpi_link_text_grows_as_the_window_does_and_keeps_its_place(c):
    with harness.Session(work=c.out / "density", screen="1280x1024x24", bitmap_fonts=False) as s:
        disc = s.make_disc(s.prefix / "drive_c" / "disc")
        ink96 = None
        for dpi in (96, 144, 192):
            s.set_dpi(dpi)
            text = s.text_height if dpi != 96 else 13
            s.start(disc / "Launch.exe", disc)
            check(ints(s.info["main.client"]) == [s.scaled(616), s.scaled(448)],
                  f"{dpi} dpi: client {s.info['main.client']} for text height {s.text_height}")
            s.move(s.scaled(300), s.scaled(170))
            time.sleep(0.3)
            shot = s.client_shot(s.scaled(616), s.scaled(448))
            first, last, _ = ink_rows_and_right(shot, s, INSTALL_TOP)
            ink = last - first + 1
            if dpi == 96:
                ink96 = ink
            else:
                want = ink96 * text / 13
                check(abs(ink - want) <= 2, f"{dpi} dpi: ink height {ink}, want {want:.1f} (96 dpi: {ink96})")
            photo = (s.scaled(PHOTO_LEFT), s.scaled(27), s.scaled(130), s.scaled(278))
            plain = shot.region(*photo)
            # The widest link, bold under the pointer, still ends left of the photograph.
            s.move(s.scaled(24), s.scaled(WHATS_NEW_TOP + 8))
            regular_right = ink_rows_and_right(shot, s, WHATS_NEW_TOP)[2]
            bold = wait_for(lambda: (lambda sh: sh if ink_rows_and_right(sh, s, WHATS_NEW_TOP)[2] > regular_right else None)(
                s.client_shot(s.scaled(616), s.scaled(448))), timeout=5, what=f"{dpi} dpi: the link to turn bold")
            right = ink_rows_and_right(bold, s, WHATS_NEW_TOP)[2]
            check(right < s.scaled(PHOTO_LEFT), f"{dpi} dpi: bold text ends at {right}, the photograph starts at "
                                                f"{s.scaled(PHOTO_LEFT)}")
            check(bold.region(*photo) == plain, f"{dpi} dpi: the photograph changed under the bold link")
            s.launcher.kill()
            s.launcher.wait(10)
        s.close()


def test_restored_by_any_route_the_window_comes_back(c):
    c.s.reg_delete(r"HKCR\.pdf")  # so the reader link shows that activation ran
    exe = c.s.windows_path(c.disc / "Launch.exe")
    try:
        c.s.start(exe, c.disc, show=7)  # SW_SHOWMINNOACTIVE
        time.sleep(1)
        info = c.s.inspect()
        check(info["main.visible"] == "0", "a minimised start shows no launcher window")
        c.s.inspect("restore")  # ShowWindow(SW_RESTORE) on the taskbar window
        info = wait_for(lambda: (lambda i: i if i.get("main.visible") == "1" and i.get("foreground") == "1" else None)(
            c.s.inspect()), timeout=10, what="the restored window, active")
        c.s.info = info
        dl, dt, dw, dh = ints(info["desktop"])
        wl, wt, ww, wh = ints(info["main.window"])
        check((wl, wt) == (max(dl, dl + dw // 2 - ww // 2), max(dt, dt + dh // 2 - wh // 2)), f"centred: {info['main.window']}")
        c.s.wait_painted()
        wait_for(lambda: (0, 0, 0) in c.s.client_shot().region(22, 317, 210, 20), timeout=5,
                 what="the reader link enabled by the activation")
        c.s.inspect("close-all")
        c.s.wait_exit()

        c.s.start(exe, c.disc, show=3)  # SW_SHOWMAXIMIZED
        wait_for(lambda: c.s.inspect().get("main.zoomed") == "1", timeout=10, what="a maximised start")
        for route in ("syscommand-restore", "restore"):
            c.s.inspect("syscommand-minimize")
            wait_for(lambda: c.s.inspect().get("main.visible") == "0", timeout=10, what=f"{route}: minimised")
            c.s.inspect(route)
            wait_for(lambda: (lambda i: i if i.get("main.visible") == "1" and i.get("main.zoomed") == "1" else None)(
                c.s.inspect()), timeout=10, what=f"{route}: back maximised")
    finally:
        c.s.inspect("close-all")
        c.s.reg_add(r"HKCR\.pdf", "", "REG_SZ", "VantrelTest.pdf")


def launcher_lines(c):
    """The launcher's own lines of Wine's trace: those of the thread that loaded Launch.exe."""
    lines = c.s.trace().lower().splitlines()
    thread = next(line.split(":", 1)[0] for line in lines if "loaddll" in line and "launch.exe" in line)
    return [line for line in lines if line.startswith(thread + ":")]


def test_planted_dlls_are_never_loaded_and_com_starts_only_with_the_first_request(c):
    # The twin takes SetDefaultDllDirectories, as Windows 8 and later do; the fallback twin takes the
    # branch of older systems, where the launcher's own folder is searched first.
    loaded_late = ("comctl32", "oleacc", "oleaut32", "ole32")
    for twin in ("Launch.exe", "LaunchFallback.exe"):
        planted = c.s.prefix / "drive_c" / "planted.log"
        planted.unlink(missing_ok=True)
        disc = c.s.make_disc(c.s.prefix / "drive_c" / f"planted-{twin[:-4]}", launcher=harness.BUILD / twin)
        shutil.copy(harness.BUILD / "planted" / "comctl32.dll", disc / "comctl32.dll")
        c.s.start(disc / "Launch.exe", disc, debug="-all,trace+exec,+loaddll,trace+ole",  # searched as Windows does:
                  env={"WINEDLLOVERRIDES": c.s.env["WINEDLLOVERRIDES"] + ";" + ",".join(loaded_late) + "=n,b"})
        c.s.move(100, 80)
        c.s.move(102, 82)
        try:
            wait_for(lambda: "tooltip" in c.s.inspect(), timeout=10, what=f"{twin}: the tooltip")
        except harness.Failure:
            check(not planted.exists(), f"{twin}: the comctl32.dll beside the launcher was loaded")
            raise
        # (Wine's own comctl32 starts COM for itself, without 0x4: only the launcher's call asks for both flags.)
        check(not any("coinitializeex" in line and "0x6" in line for line in launcher_lines(c)),
              f"{twin}: COM was started before any request")
        c.s.click(40, 200)
        c.s.wait_records(1)
        lines = launcher_lines(c)
        com = next((n for n, line in enumerate(lines) if "coinitializeex" in line and "0x6" in line), None)
        request = next((n for n, line in enumerate(lines) if ":trace:exec:shellexecutea " in line), None)
        check(com is not None and request is not None and com < request,
              f"{twin}: apartment-threaded COM without OLE1 DDE at line {com}, the request at {request}")
        # A screen reader's first request loads oleacc, oleaut32 and ole32, from the system folder too.
        # (Planted only now: the programs the launcher starts in its folder would load them themselves.)
        for name in loaded_late[1:]:
            shutil.copy(harness.BUILD / "planted" / "comctl32.dll", disc / f"{name}.dll")
        check(c.s.inspect("a11y").get("a11y.count") == "8", f"{twin}: a reader found no children")
        check(not planted.exists(), f"{twin}: a DLL planted beside the launcher was loaded")
        lines = launcher_lines(c)
        for name in loaded_late:
            loaded = [line for line in lines if "loaddll" in line and f"\\{name}.dll" in line]
            check(loaded and all("system32" in line for line in loaded), f"{twin}: {name} loaded as {loaded}")
        c.s.launcher.kill()
        c.s.launcher.wait(10)


def test_the_banner_hint_comes_back_only_after_the_pointer_has_left(c):
    c.s.start(c.disc / "Launch.exe", c.disc)
    c.s.move(100, 80)
    c.s.move(102, 82)
    wait_for(lambda: "tooltip" in c.s.inspect(), timeout=10, what="the tooltip")
    wait_for(lambda: "tooltip" not in c.s.inspect(), timeout=10, what="the tooltip to hide")
    for x in (104, 108, 112):  # small moves inside the banner, then a rest
        c.s.move(x, 84)
        time.sleep(0.1)
    deadline = time.monotonic() + 2
    while time.monotonic() < deadline:
        check("tooltip" not in c.s.inspect(), "the tooltip came back while the pointer stayed on the banner")
        time.sleep(0.2)
    c.s.move(300, 170)  # off the banner
    time.sleep(0.3)
    c.s.move(100, 80)
    c.s.move(102, 82)
    wait_for(lambda: "tooltip" in c.s.inspect(), timeout=10, what="the tooltip after leaving and coming back")


def test_log_off_ends_the_launcher_at_once_and_a_cancelled_one_leaves_it_running(c):
    for target in ("owner", "main"):
        c.s.start(c.disc / "Launch.exe", c.disc)
        agreed = c.s.inspect("endsession", target, "1").get("agreed")
        check(agreed == "1", f"{target}: the launcher did not agree to end the session")
        code = c.s.wait_exit(timeout=5)
        check(code == 0, f"{target}: exit code {code}")
    c.s.start(c.disc / "Launch.exe", c.disc)
    c.s.inspect("endsession", "main", "0")
    time.sleep(1)
    check(c.s.launcher.poll() is None, "a cancelled log-off ended the launcher")
    c.s.click(40, 200)
    c.s.wait_records(1)


def test_from_a_folder_past_260_characters_the_installer_is_the_one_beside_the_launcher(c):
    root = c.s.prefix / "drive_c"
    outer = root / ("a" * 100) / ("b" * 100)
    real = outer / ("c" * 70)  # C:\a..\b..\c..: 275 characters, so a cut at 260 falls inside the last name
    c.s.make_disc(real)
    (outer / "Vantrel").mkdir(parents=True, exist_ok=True)
    shutil.copy(harness.BUILD / "recorder.exe", outer / "Vantrel" / "Vantrel Install.exe")  # the decoy
    try:
        c.s.start(real / "Launch.exe", root, trace=True)
        c.s.click(40, 240)
        wait_for(lambda: c.s.shell_requests(), what="the install request")
        request = c.s.shell_requests()[0].split(",", 1)[1]
        folder = c.s.windows_path(real).replace("\\", "\\\\")
        check(request == f'(null),"Vantrel\\\\Vantrel Install.exe",(null),"{folder}",1', f"request {request[:80]}...")
        time.sleep(2)
        decoy = c.s.windows_path(outer / "Vantrel")
        check(not any(r["exe"].startswith(decoy) for r in c.s.records()), "the decoy installer started")
    finally:
        shutil.rmtree(root / ("a" * 100), ignore_errors=True)


def test_from_a_folder_outside_the_code_page_the_installer_starts_in_its_folder(c):
    root = c.s.prefix / "drive_c"
    disc = c.s.make_disc(root / "Диск Δ")
    other = root / "elsewhere"
    other.mkdir(exist_ok=True)
    try:
        c.s.start(disc / "Launch.exe", other)
        c.s.click(40, 240)
        record = c.s.wait_records(1)[-1]
        check(record["exe"] == "C:\\Диск Δ\\Vantrel\\Vantrel Install.exe", f"started {record['exe']}")
        check(record["cwd"].rstrip("\\") == "C:\\Диск Δ", f"working directory {record['cwd']}")
    finally:
        shutil.rmtree(disc, ignore_errors=True)
