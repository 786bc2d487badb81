"""The launcher window, its pictures and links, and the simple actions."""
import time

from harness import check, mean, wait_for

WS_CAPTION, WS_SYSMENU, WS_THICKFRAME = 0x00C00000, 0x00080000, 0x00040000
WS_MINIMIZEBOX, WS_MAXIMIZEBOX = 0x00020000, 0x00010000
WS_EX_TOOLWINDOW, WS_EX_CONTEXTHELP = 0x80, 0x400

HOME = "http://www.halvik-instruments.com/"
PRODUCTS = "http://www.halvik-instruments.com/products/fendrikfam.html"


def start(c, trace=False, cwd=None, args=()):
    exe = c.disc / "Launch.exe"
    c.s.start(exe, cwd or c.disc, trace=trace, args=args)


def ints(text):
    return [int(v) for v in text.split(",")]


def test_frame_is_a_centred_fixed_tool_window_owned_by_the_taskbar_window(c):
    start(c)
    check_frame(c.s.info)


def check_frame(i):
    """The launcher window as peek reads it: caption, class, size, style, owner, centred."""
    check(i["main.caption"] == "Vantrel Setup", i["main.caption"])
    check(i["main.class"] == "TfrmMain", i["main.class"])
    check(ints(i["main.client"]) == [616, 448], f"client {i['main.client']}")
    style, ex = int(i["main.style"], 16), int(i["main.exstyle"], 16)
    check(style & WS_CAPTION == WS_CAPTION and style & WS_SYSMENU, f"style {style:08x}: caption and system menu")
    check(not style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), f"style {style:08x}: fixed size, close box only")
    check(ex & WS_EX_TOOLWINDOW and not ex & WS_EX_CONTEXTHELP, f"exstyle {ex:08x}: a tool window")
    check(i["owner.exists"] == "1", "the window has an owner")
    check(i["owner.caption"] == "Vantrel Setup" and i["owner.visible"] == "1", "the owner is the visible application window")
    check(ints(i["owner.window"])[2:] == [0, 0], f"the owner has zero size: {i['owner.window']}")
    check(not int(i["owner.exstyle"], 16) & WS_EX_TOOLWINDOW, "the owner carries the taskbar button")
    dl, dt, dw, dh = ints(i["desktop"])
    wl, wt, ww, wh = ints(i["main.window"])
    check((wl, wt) == (max(dl, dl + dw // 2 - ww // 2), max(dt, dt + dh // 2 - wh // 2)), f"centred: {i['main.window']}")


def test_screenshot_shows_each_picture_and_link_where_it_belongs(c):
    start(c)
    shot = c.s.client_shot()
    shot.save_png(c.out / "window.png")

    def avg(l, t, w, h):
        return mean(shot.region(l, t, w, h))

    r, g, b = avg(8, 27, 369, 113)
    check(b > r + 40, f"the banner is the maker's blue: {(r, g, b)}")
    r, g, b = avg(456, 27, 130, 278)
    check(max(r, g, b) < 200, f"the photograph fills its place: {(r, g, b)}")
    check(avg(130, 360, 375, 80) < (240, 240, 240), "the wordmark is drawn")
    check(avg(450, 160, 4, 20) == (255, 255, 255), "white left of the photograph")
    check(avg(590, 27, 20, 278) == (255, 255, 255), "white right of the photograph")
    check(avg(8, 145, 369, 40) == (255, 255, 255), "white below the banner")
    for name, top in (("What's New", 191), ("Install", 234), ("User Manual", 276), ("Exit", 407)):
        pixels = shot.region(22, top, 100 if name != "Exit" else 26, 20)
        check((0, 0, 0) in pixels, f"{name} is drawn in black")
    reader = shot.region(22, 317, 210, 20)
    check((0, 0, 0) not in reader, "the reader link is not black")
    grey = [p for p in reader if p != (255, 255, 255)]
    check(grey and all(abs(p[0] - p[1]) < 8 and abs(p[1] - p[2]) < 8 and 60 < p[0] < 200 for p in grey[:50]),
          f"the reader link is greyed: {grey[:5]}")


def test_banner_tooltip_appears_after_a_rest(c):
    start(c)
    c.s.move(100, 80)
    c.s.move(102, 82)
    info = wait_for(lambda: (lambda i: i if "tooltip" in i else None)(c.s.inspect()), timeout=10, what="the tooltip")
    left, top, width, height = ints(info["tooltip"])
    cx, cy = ints(info["tooltip.cursor"])
    check(abs(left - cx) < 24 and cy < top < cy + 40, f"the tooltip {info['tooltip']} sits below the pointer {cx},{cy}")
    # Wide enough for its text, on the system's tooltip colour, with dark text on it.
    check(width > 150, f"tooltip width {width}")
    back = tuple(ints(info["tooltip.infobk"]))

    def painted():
        # Read from the tooltip's own X window: Xvfb's root image may not hold an override-redirect window.
        window = c.s.x_window_at(left, top, width, height)
        if not window:
            return False
        inside = c.s.screenshot(window).region(2, 2, width - 4, height - 4)
        return sum(p == back for p in inside) > len(inside) // 2 and any(max(p) < 90 for p in inside)

    wait_for(painted, timeout=3, what=f"the tooltip drawn with dark text on its colour {back}")
    wait_for(lambda: "tooltip" not in c.s.inspect(), timeout=10, what="the tooltip to hide")


def test_each_picture_and_document_link_opens_its_target(c):
    start(c, trace=True)
    cases = [
        ((100, 80), "http", HOME),
        ((500, 150), "http", PRODUCTS),
        ((300, 400), "http", PRODUCTS),
        ((40, 200), "pdf", "Docs\\Intro.pdf"),
        ((40, 285), "chm", "Docs\\Vantrel.chm"),
    ]
    for n, ((x, y), kind, target) in enumerate(cases, start=1):
        c.s.click(x, y)
        records = c.s.wait_records(n)
        last = records[-1]
        check(last["arg"][0] == kind, f"click at {(x, y)} started {last}")
        check(last["arg"][1].endswith(target.replace("/", "\\")) or last["arg"][1] == target,
              f"click at {(x, y)} opened {last['arg'][1]}, not {target}")
    requests = c.s.shell_requests()
    check(len(requests) == len(cases), f"{len(requests)} shell requests for {len(cases)} clicks")
    want = [f'"open","{t.replace(chr(92), chr(92) * 2)}",(null),(null),1' for _, _, t in cases]
    for got, expected in zip(requests, want):
        check(got.split(",", 1)[1] == expected, f"request {got} is not {expected}")
        check(int(got.split(",", 1)[0], 16) != 0, "requests are owned by the launcher window")


def test_a_double_click_opens_once_and_a_press_released_elsewhere_opens_nothing(c):
    start(c, trace=True)
    c.s.move(40, 200)
    c.s.xdotool("click", "--repeat", "2", "--delay", "80", "1")
    c.s.wait_records(1)
    time.sleep(1.5)
    check(len(c.s.shell_requests()) == 1, f"double-click: {c.s.shell_requests()}")
    c.s.move(40, 200)
    c.s.xdotool("mousedown", "1")
    c.s.move(300, 180)
    c.s.xdotool("mouseup", "1")
    c.s.move(40, 285)  # then a real click still works
    c.s.xdotool("click", "1")
    records = c.s.wait_records(2)
    time.sleep(1)
    check(len(c.s.shell_requests()) == 2 and records[-1]["arg"][0] == "chm", f"press released elsewhere: {records}")


def test_from_another_current_directory_documents_stay_relative_to_it(c):
    other = c.s.prefix / "drive_c" / "elsewhere"
    other.mkdir(exist_ok=True)
    start(c, trace=True, cwd=other)
    c.s.click(40, 200)
    wait_for(lambda: c.s.shell_requests(), what="the request")
    req = c.s.shell_requests()[0]
    check(req.split(",", 1)[1] == '"open","Docs\\\\Intro.pdf",(null),(null),1', req)
    time.sleep(1)
    info = c.s.inspect()
    check(info.get("dialog.caption") != "Vantrel Setup", "the launcher shows no message of its own")
    c.s.click(100, 80)  # still usable
    wait_for(lambda: len(c.s.shell_requests()) == 2, what="a second request")


def test_a_missing_document_changes_nothing(c):
    (c.disc / "Docs" / "Intro.pdf").unlink()
    c.s.reg_delete(r"HKCR\.chm")
    try:
        start(c, trace=True)
        c.s.click(40, 200)
        c.s.click(40, 285)
        wait_for(lambda: len(c.s.shell_requests()) == 2, what="both requests")
        time.sleep(1)
        info = c.s.inspect()
        check(info.get("dialog.caption") != "Vantrel Setup", "no message of the launcher's own")
        check(c.s.launcher.poll() is None, "the launcher still runs")
    finally:
        c.s.reg_add(r"HKCR\.chm", "", "REG_SZ", "VantrelTest.chm")


def test_exit_link_close_box_system_menu_and_alt_f4_end_with_code_0(c):
    def close_box():
        wl, wt, ww, _ = ints(c.s.info["main.window"])
        c.s.xdotool("mousemove", wl + ww - 12, wt + 11, "click", "1")

    ways = {
        "Exit link": lambda: c.s.click(30, 414),
        "close box": close_box,
        "system menu Close": lambda: c.s.inspect("syscommand-close"),
        "Alt+F4": lambda: c.s.xdotool("key", "alt+F4"),
    }
    for name, close in ways.items():
        start(c)
        c.s.move(300, 200)
        close()
        code = c.s.wait_exit()
        check(code == 0, f"{name}: exit code {code}")


def test_arguments_are_ignored_and_two_launchers_run_side_by_side(c):
    start(c, args=("/S", "--install", "C:\\x y"))
    first = c.s.launcher
    start(c)
    check(first.poll() is None, "the first launcher still runs")
    count = c.s.inspect("count").get("launchers")
    check(count == "2", f"two launcher windows: {count}")


def test_at_120_dpi_the_window_scales_by_the_default_fonts_text_height(c):
    import harness

    with harness.Session(work=c.out / "dpi120", dpi=120) as s:
        disc = s.make_disc(s.prefix / "drive_c" / "disc")
        font = s.inspect("dpi")
        check(font["dpi"] == "120", f"the virtual screen runs at {font['dpi']} dpi")
        text = int(font["textheight"])

        def scaled(n):  # rounded as the system's MulDiv rounds
            return (n * text * 2 + 13) // 26

        s.start(disc / "Launch.exe", disc)
        check(ints(s.info["main.client"]) == [scaled(616), scaled(448)],
              f"client {s.info['main.client']} for text height {text}: want {scaled(616)},{scaled(448)}")
        # The banner still fills its scaled place, and the wordmark is drawn at its natural size.
        shot = s.client_shot(scaled(616), scaled(448))
        left, top, width, height = scaled(8), scaled(27), scaled(369), scaled(113)
        r, g, b = mean(shot.region(left + 2, top + 2, width - 4, height - 4))
        check(b > r + 40, f"the banner fills {left},{top} {width}x{height}: {(r, g, b)}")
        check(mean(shot.region(left + width + 2, top, 6, height)) == (255, 255, 255), "white right of the banner")
        wl, wt = scaled(130), scaled(360)
        check(mean(shot.region(wl + 375 + 2, wt + 2, 4, 60)) == (255, 255, 255), "the wordmark is not stretched")
        s.close()
