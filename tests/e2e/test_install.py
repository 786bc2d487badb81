"""Install or upgrade: the registry probe and the launcher's own folder."""
import time

from harness import check, wait_for

KEY = r"HKLM\SOFTWARE\Orun\Vantrel\AppInfo"
INSTALL_LINK = (40, 240)


def clean(c):
    for view in ("32", "64"):
        c.s.reg_delete(KEY, view=view)


def windows_path(c, unix_path):
    return "C:\\" + str(unix_path.relative_to(c.s.prefix / "drive_c")).replace("/", "\\")


def click_and_record(c, n):
    c.s.click(*INSTALL_LINK)
    return c.s.wait_records(n)[-1]


def test_install_or_upgrade_is_chosen_on_each_click_from_the_32_bit_view(c):
    clean(c)
    try:
        c.s.start(c.disc / "Launch.exe", c.disc)
        folder = windows_path(c, c.disc)
        rows = [
            ("no key", lambda: None, "Vantrel Install.exe"),
            ("empty version", lambda: c.s.reg_add(KEY, "CurrentVersion", "REG_SZ", "", view="32"), "Vantrel Install.exe"),
            ("version only in the 64-bit view", lambda: (c.s.reg_delete(KEY, view="32"),
                                                         c.s.reg_add(KEY, "CurrentVersion", "REG_SZ", "1.0", view="64")),
             "Vantrel Install.exe"),
            ("version 1.0 written while the launcher runs",
             lambda: c.s.reg_add(KEY, "CurrentVersion", "REG_SZ", "1.0", view="32"), "Vantrel Upgrade.EXE"),
        ]
        for n, (what, arrange, program) in enumerate(rows, start=1):
            arrange()
            record = click_and_record(c, n)
            check(record["exe"] == f"{folder}\\Vantrel\\{program}", f"{what}: started {record['exe']}")
            check(record["cwd"].rstrip("\\") == folder, f"{what}: working directory {record['cwd']}")
            check(record["arg"] == [], f"{what}: arguments {record['arg']}")
    finally:
        clean(c)


def test_a_version_stored_as_a_number_is_reported_and_nothing_starts(c):
    clean(c)
    try:
        c.s.reg_add(KEY, "CurrentVersion", "REG_DWORD", "1", view="32")
        c.s.start(c.disc / "Launch.exe", c.disc, trace=True)
        c.s.click(*INSTALL_LINK)
        info = wait_for(lambda: (lambda i: i if i.get("dialog.caption") else None)(c.s.inspect()), what="the message box")
        check(info["dialog.caption"] == "Vantrel Setup", f"caption {info['dialog.caption']!r}")
        check(info.get("dialog.text") == "Invalid data type for 'CurrentVersion'", f"text {info.get('dialog.text')!r}")
        check(info.get("dialog.button") == "OK", f"buttons {info.get('dialog.button')!r}")
        check(info.get("dialog.icon") == "1", "the stop icon is shown")
        check(info.get("dialog.owner") == "Vantrel Setup", f"owner {info.get('dialog.owner')!r}")
        check(info.get("main.enabled") == "0", "the launcher window is disabled while the box is up")
        check(c.s.shell_requests() == [], f"nothing is started: {c.s.shell_requests()}")
        c.s.xdotool("key", "Return")
        wait_for(lambda: not c.s.inspect().get("dialog.caption"), what="the box to close")
        check(c.s.launcher.poll() is None, "the launcher goes on")
        c.s.reg_add(KEY, "CurrentVersion", "REG_SZ", "1.0", view="32")
        record = click_and_record(c, 1)
        check(record["exe"].endswith("\\Vantrel\\Vantrel Upgrade.EXE"), f"then the upgrader: {record['exe']}")
    finally:
        clean(c)


def test_from_another_current_directory_the_installer_is_found_beside_the_launcher(c):
    clean(c)
    other = c.s.prefix / "drive_c" / "elsewhere"
    other.mkdir(exist_ok=True)
    c.s.start(c.disc / "Launch.exe", other, trace=True)
    record = click_and_record(c, 1)
    folder = windows_path(c, c.disc)
    check(record["cwd"].rstrip("\\") == folder, f"working directory {record['cwd']}")
    request = c.s.shell_requests()[0].split(",", 1)[1]
    want = '(null),"Vantrel\\\\Vantrel Install.exe",(null),"' + folder.replace("\\", "\\\\") + '",1'
    check(request == want, f"request {request} is not {want}")


def test_at_a_drive_root_the_directory_is_the_drive_letter_alone(c):
    clean(c)
    drive = c.s.prefix / "dosdevices" / "m:"
    drive.unlink(missing_ok=True)
    drive.symlink_to(c.disc)
    other = c.s.prefix / "drive_c" / "elsewhere"
    other.mkdir(exist_ok=True)
    try:
        c.s.start("M:\\Launch.exe", other, trace=True)
        record = click_and_record(c, 1)
        request = c.s.shell_requests()[0].split(",", 1)[1]
        check(request == '(null),"Vantrel\\\\Vantrel Install.exe",(null),"M:",1', f"request {request}")
        check(record["exe"].upper() == "M:\\VANTREL\\VANTREL INSTALL.EXE", f"started {record['exe']}")
    finally:
        drive.unlink(missing_ok=True)
        time.sleep(0.1)
