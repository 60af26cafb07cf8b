# SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""End-to-end journeys through the real application on a private test desktop.

    with-test-desktop python3 journeys.py JOURNEY APPLICATION

Each journey starts the built application in a fresh temporary home, uses it only as a user
does (controls found by their accessible names over AT-SPI, clicked and typed into with
xdotool), checks what it shows, plays and stores, and stops it afterwards.
"""
import datetime
import json
import os
import re
import subprocess
import sys
import time

# No __pycache__ folders in the source tree.
sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
SCRIPTS = os.path.join(HERE, "..", "..", "scripts")
sys.path.insert(0, SCRIPTS)
sys.path.insert(0, HERE)

import velmor_data  # noqa: E402
from gi.repository import GLib  # noqa: E402
from journey_app import App  # noqa: E402
from journey_keys import keys_for  # noqa: E402
from journey_audio import (Capture, dominant_frequency, loudest_rms, peak,  # noqa: E402
                           write_tone, zero_crossing_frequency)

# velmor_desktop talks to the accessibility bus, which each journey starts first (launch()).
desktop = None

REFERENCE_UNIX = 978307200
SHANGHAI = datetime.timezone(datetime.timedelta(hours=8))
# A played alert reaches a good part of full scale; the null sink gives exact zeros otherwise.
AUDIBLE_PEAK = 0.05
AUDIBLE_RMS = 0.01


class JourneyFailure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise JourneyFailure(message)


def log(message):
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def wait_for(what, find, timeout=20.0):
    """Polls find() until it returns something true and returns that. A node that vanishes while
    it is being looked at makes AT-SPI raise; that counts as not found yet."""
    deadline = time.monotonic() + timeout
    problem = None
    while True:
        try:
            found = find()
            if found:
                return found
        except Exception as error:  # noqa: BLE001 - any AT-SPI error means "try again"
            problem = error
        if time.monotonic() >= deadline:
            raise JourneyFailure(f"{what} did not happen within {timeout:.0f} s"
                                 + (f" (last error: {problem})" if problem else ""))
        time.sleep(0.1)


def launch(app):
    """Starts the application and connects to its accessibility bus; returns the main window."""
    global desktop
    # A desktop of its own is what makes clicks land on this run's windows. Two desktops started
    # at the same moment can end up on one X server; say so rather than fail obscurely later.
    others = subprocess.run(["xdotool", "search", "--name", "^Velmor's Focus$"],
                            capture_output=True, text=True).stdout.split()
    check(not others, f"the display {os.environ.get('DISPLAY')} already shows a Velmor's Focus "
          "window of another run")
    app.start()
    if desktop is None:
        import velmor_desktop
        desktop = velmor_desktop
    return desktop.main_window(60)


# --- finding and using controls ---------------------------------------------------------------

def is_showing(node):
    return node is not None and node.getState().contains(desktop.pyatspi.STATE_SHOWING)


def find_showing(root, name, roles):
    """A control on screen with that name; hidden items stay in the tree and do not count."""
    return desktop.pyatspi.findDescendant(
        root, lambda node: node is not None and node.name == name
        and node.getRoleName() in roles and is_showing(node))


def shown_button(frame, name, timeout=20.0):
    return wait_for(f'the button "{name}" on screen',
                            lambda: find_showing(frame, name, ("push button",)), timeout)


def press_shown(frame, name, timeout=20.0):
    desktop.click(shown_button(frame, name, timeout))


def shown_text(frame, text, timeout=20.0):
    return wait_for(f'the text "{text}" on screen',
                            lambda: find_showing(frame, text, ("label", "static", "text")),
                            timeout)


def gone(frame, text, timeout=20.0):
    wait_for(f'the text "{text}" to go',
                     lambda: not find_showing(frame, text, ("label", "static", "text")), timeout)


def text_of(node):
    content = node.queryText()
    return content.getText(0, content.characterCount)


def type_text(field, text):
    """Types text at the end of the focused field and waits until all of it has arrived."""
    expected = text_of(field) + text
    with keys_for(text):
        # xdotool decodes its argument by its own locale, and the journeys' zh_CN locale may not
        # be installed; C.UTF-8 always is.
        subprocess.run(["xdotool", "type", "--delay", "30", text], check=True,
                       env=dict(os.environ, LC_ALL="C.UTF-8"))
        deadline = time.monotonic() + 10
        while text_of(field) != expected:
            check(time.monotonic() < deadline,
                  f'the field holds "{text_of(field)}" after typing "{text}"')
            time.sleep(0.05)


def type_into(frame, field_name, text):
    """Clicks the text field and replaces its text by typing as a user would."""
    field = wait_for(f'the text field "{field_name}"',
                             lambda: find_showing(frame, field_name, ("text", "entry")))
    desktop.click(field)
    desktop.xdotool("key", "ctrl+a", "BackSpace")
    wait_for(f'the field "{field_name}" to be empty', lambda: text_of(field) == "", 5)
    type_text(field, text)


def picker_value(box):
    label = desktop.pyatspi.findDescendant(
        box, lambda node: node is not None and node.getRoleName() == "label")
    return label.name if label else None


def set_picker(frame, caption, value):
    """Chooses a value of a duration picker with the keyboard, as a user without a mouse wheel
    would: open it, move the highlight up or down from the current value, take it with Return.
    Every step waits for its effect; a run of keys that went nowhere (a popup not yet open on a
    busy machine) is tried again from what the picker then shows."""
    box = wait_for(f'the picker "{caption}"', lambda: find_showing(frame, caption, ("combo box",)))
    target = f"{value:02d}"
    for attempt in range(3):
        current = wait_for(f'the value of the picker "{caption}"', lambda: picker_value(box))
        if current == target:
            return
        desktop.click(box)
        # The open popup lists the choices, the current one among them.
        wait_for(f'the choices of the picker "{caption}"', lambda: find_showing(
            frame, current, ("list item",)), 10)
        steps = int(target) - int(current)
        desktop.xdotool("key", "--delay", "30", *(["Down" if steps > 0 else "Up"] * abs(steps)),
                        "Return")
        try:
            wait_for(f'"{target}" in the picker "{caption}"',
                     lambda: picker_value(box) == target, 10)
            return
        except JourneyFailure:
            log(f'the picker "{caption}" shows {picker_value(box)}, not {target}; again')
            desktop.xdotool("key", "Escape")
    check(picker_value(box) == target, f'the picker "{caption}" shows {picker_value(box)}')


def set_duration(frame, minutes, seconds):
    """Sets the focus length on the idle focus page; the countdown follows."""
    set_picker(frame, "时", 0)
    set_picker(frame, "分", minutes)
    set_picker(frame, "秒", seconds)
    shown_text(frame, f"{minutes:02d}:{seconds:02d}")


def alert_frames(main):
    return [frame for frame in desktop.frames() if frame != main]


def dialogs():
    """Top-level dialogs of the application (the open and save dialogs)."""
    found = []
    for app in desktop.pyatspi.Registry.getDesktop(0):
        if app is None:
            continue
        for child in app:
            if child is not None and child.getRoleName() in ("dialog", "file chooser") \
                    and is_showing(child):
                found.append(child)
    return found


def use_file_dialog(path):
    """Types a full path into the open or save dialog that is on screen and accepts it."""
    dialog = wait_for("the file dialog", lambda: (dialogs() or [None])[0], 20)
    # The name field holds the keyboard focus when the dialog opens (with the suggested name
    # already selected in a save dialog); the field is replaced as a user would do it.
    field = wait_for(
        "the file name field", lambda: desktop.pyatspi.findDescendant(
            dialog, lambda node: node is not None and node.getRoleName() == "text"
            and node.getState().contains(desktop.pyatspi.STATE_FOCUSED)), 10)
    desktop.xdotool("key", "ctrl+a", "BackSpace")
    wait_for("the file name field to be empty", lambda: text_of(field) == "", 5)
    type_text(field, path)
    desktop.xdotool("key", "Return")
    wait_for("the file dialog to close", lambda: not dialogs(), 20)


def open_tray_menu():
    """Opens the tray item's menu with a right click and returns the menu's accessible.

    Qt leaves popup menus out of the application's accessible tree, so the menu is taken from
    the event that announces it on screen."""
    registry = desktop.pyatspi.Registry
    menus = []

    def on_showing(event):
        if event.source is not None and event.source.getRoleName() == "popup menu" \
                and event.detail1 == 1:
            menus.append(event.source)
            registry.stop()

    def right_click_tray():
        panel = desktop.xdotool("search", "--name", "^panel$")[0]
        geometry = dict(line.split("=") for line in
                        desktop.xdotool("getwindowgeometry", "--shell", panel))
        x = int(geometry["X"]) + int(geometry["WIDTH"]) // 2
        y = int(geometry["Y"]) + int(geometry["HEIGHT"]) // 2
        desktop.xdotool("mousemove", "--sync", str(x), str(y), "click", "3")
        return False

    def give_up():
        registry.stop()
        return False

    registry.registerEventListener(on_showing, "object:state-changed:showing")
    timeout = GLib.timeout_add(15000, give_up)
    try:
        GLib.idle_add(right_click_tray)
        registry.start()
    finally:
        registry.deregisterEventListener(on_showing, "object:state-changed:showing")
    if menus:
        # Not fired yet: it must not stop a later wait on the same loop.
        GLib.source_remove(timeout)
    return menus[0] if menus else None


def choose_from_tray(label):
    menu = open_tray_menu()
    check(menu, "the tray menu did not open")
    item = wait_for(f'the tray menu entry "{label}"', lambda: find_showing(
        menu, label, ("menu item",)), 10)
    desktop.click(item)


def visible_main_windows():
    """The X11 windows titled as the main window that are mapped (not closed)."""
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Velmor's Focus$"],
                          capture_output=True, text=True).stdout.split()


def window_geometry(window):
    lines = desktop.xdotool("getwindowgeometry", "--shell", window)
    geometry = dict(line.split("=") for line in lines)
    return tuple(int(geometry[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))


def close_main_window(app, main):
    """Closes the main window with Ctrl+W; the application stays in the tray."""
    desktop.click(find_showing(main, "专注计时", ("label", "static")))
    desktop.xdotool("key", "ctrl+w")
    wait_for("the main window to close", lambda: not visible_main_windows(), 10)
    check(app.running(), "closing the window ended the application")


def check_window_back(main, geometry, page_text):
    """The main window is mapped again, where it was, showing the page it showed."""
    windows = wait_for("the main window to come back", visible_main_windows, 10)
    check(len(windows) == 1, f"{len(windows)} main windows are shown")
    check(window_geometry(windows[0]) == geometry,
          f"the window came back at {window_geometry(windows[0])}, not at {geometry}")
    shown_text(main, page_text, 10)


def quit_from_tray(app):
    """Opens the tray item's menu and chooses "退出"; the process must end cleanly."""
    choose_from_tray("退出")
    check(app.wait_exit(20) == 0, f"the application ended with status {app.exit_code}")


# --- stored data ------------------------------------------------------------------------------

def read_file(path):
    with open(path, "rb") as source:
        return source.read()


def stored_records(home):
    return json.loads(read_file(velmor_data.record_file(home)).decode("utf-8"))


def unix_of(instant):
    return instant + REFERENCE_UNIX


def check_stored_copy(home):
    copy = velmor_data.read_default(home, "focus-records")
    check(copy == read_file(velmor_data.record_file(home)),
          f'the defaults copy "focus-records" differs from the record file: {copy!r}')


def wait_for_stored(home, expected):
    wait_for(f"{expected} stored record(s)",
             lambda: os.path.exists(velmor_data.record_file(home))
             and len(stored_records(home)) == expected, 10)


# --- journeys ---------------------------------------------------------------------------------

def first_session(app):
    """A first start without data: a six-second session runs out, the alert appears with its
    sound, and exactly one record is stored in the file and in the defaults copy. Then the
    window, closed, comes back where it was from the tray and from a second launch."""
    title = "整理读书笔记"
    main = launch(app)
    shown_button(main, "开始")
    check(not os.path.exists(velmor_data.data_folder(app.home)),
          "the storage folder exists before anything was saved")
    check(velmor_data.read_default(app.home, "focus-records") is None,
          "a defaults copy exists before anything was saved")

    set_duration(main, 0, 6)
    type_into(main, "这一轮要做什么？", title)
    capture = Capture(os.path.join(app.work, "completion.raw"))
    press_shown(main, "开始")
    before = time.time()
    shown_text(main, "正在专注")
    log("session started")

    wait_for("the completion alert", lambda: alert_frames(main), 30)
    alert = alert_frames(main)[0]
    shown_text(alert, "专注完成")
    shown_text(alert, title)
    log("completion alert shown")
    # The reminder plays once, right after the alert appears.
    capture.wait_for_sound()
    samples = capture.stop()
    after = time.time()
    log(f"alert sound: peak {peak(samples):.3f}, loudest RMS {loudest_rms(samples):.3f} "
        f"of full scale over {len(samples) / 44100:.1f} s")
    check(peak(samples) > AUDIBLE_PEAK, f"the alert sound is not audible: peak {peak(samples)}")
    check(loudest_rms(samples) > AUDIBLE_RMS,
          f"the alert sound is not audible: RMS {loudest_rms(samples)}")

    press_shown(alert, "知道了")
    wait_for("the alert to close", lambda: not alert_frames(main), 10)
    shown_button(main, "开始")
    shown_text(main, "准备开始")

    # One compact UTF-8 JSON array: no byte-order mark, no line breaks, no trailing newline.
    stored = read_file(velmor_data.record_file(app.home))
    check(stored.startswith(b"[{") and stored.endswith(b"}]") and b"\n" not in stored,
          f"the record file is not one compact JSON array: {stored!r}")
    records = stored_records(app.home)
    check(len(records) == 1, f"expected exactly one record, found {records}")
    record = records[0]
    check(record["title"] == title, f"stored title {record['title']!r}")
    check(record["duration"] == 6, f"stored duration {record['duration']}, planned 6")
    check(record["early"] is False, "a session that ran out is stored as early")
    check(record["project"] == "学习", f"stored project {record['project']!r}")
    check("subproject" not in record and "wrapUp" not in record,
          f"unexpected subproject or wrap-up: {record}")
    check(re.fullmatch(r"[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}",
                       record["id"]), f"id {record['id']!r}")
    # The end is the deadline that was reached: start + planned length, without a pause.
    check(abs(record["endedAt"] - record["startedAt"] - 6) < 0.01,
          f"start {record['startedAt']} and end {record['endedAt']} are not 6 s apart")
    check(before - 2 <= unix_of(record["startedAt"]) <= before + 1,
          f"start {unix_of(record['startedAt'])} is not when the session was started ({before})")
    check(unix_of(record["endedAt"]) <= after, "the end lies in the future")
    check_stored_copy(app.home)

    # Closed, the window comes back from the tray and from a second launch, where it was.
    geometry = window_geometry(visible_main_windows()[0])
    close_main_window(app, main)
    choose_from_tray("回到计时器")
    check_window_back(main, geometry, "准备开始")
    log("the tray brought the window back")
    close_main_window(app, main)
    status = app.launch_again()
    check(status == 0, f"the second launch ended with status {status}")
    check_window_back(main, geometry, "准备开始")
    log("a second launch brought the window back")

    quit_from_tray(app)


def finish_early(app):
    """A five-minute session finished after just over a minute, with a wrap-up note."""
    title = "复习第三章"
    note = "做完习题, 下一步: 第四章"
    main = launch(app)
    shown_button(main, "开始")
    set_duration(main, 5, 0)
    type_into(main, "这一轮要做什么？", title)
    press_shown(main, "开始")
    started = time.time()
    log("session started, waiting just over a minute")
    # 03:59 is shown from 61 s of focus on (the countdown rounds the time left up).
    shown_text(main, "03:59", timeout=90)
    press_shown(main, "结束并记录")
    pressed = time.time()
    shown_text(main, "记录收尾")
    shown_text(main, "记录本次实际专注时长。")
    shown_text(main, "已暂停")
    type_into(main, "做到哪 / 下一步（可稍后补）", note)
    press_shown(main, "保存并结束")
    # The confirmation shows for three seconds only.
    shown_text(main, "已记录1分钟专注。", timeout=6)
    log("confirmation shown")
    gone(main, "记录收尾", timeout=5)
    # The countdown is idle again, back at the chosen length.
    shown_text(main, "准备开始")
    shown_text(main, "05:00")
    shown_button(main, "开始")

    wait_for_stored(app.home, 1)
    record = stored_records(app.home)[0]
    check(record["early"] is True, f"early is {record['early']}")
    check(60 <= record["duration"] < 70, f"duration {record['duration']}")
    check(record["wrapUp"] == note, f"wrap-up {record.get('wrapUp')!r}")
    check(record["title"] == title, f"title {record['title']!r}")
    check(record["project"] == "学习", f"project {record['project']!r}")
    # Nothing was paused before the finish: the span is the focused time plus the moments the
    # dialog was open (the session is paused from the press of the finish control on).
    span = record["endedAt"] - record["startedAt"]
    check(span >= record["duration"], f"span {span} shorter than duration {record['duration']}")
    check(abs(unix_of(record["startedAt"]) - started) < 2, "start is not when it was started")
    check(abs(record["duration"] - (pressed - started)) < 2,
          f"duration {record['duration']} is not the {pressed - started:.1f} s until the press")
    check_stored_copy(app.home)

    quit_from_tray(app)


def damaged_records(app):
    """A record file that is not JSON: it is backed up, shown as a warning, never overwritten; a
    session that ends meanwhile is kept, quitting asks first, and a repair from the second copy
    writes the copy's records and the kept session."""
    damaged = b"\x00{\"id\": \xff\xfe broken [[[ not json\n"
    # A valid defaults copy too, with 25 minutes of today: it is neither loaded nor replaced until
    # the user repairs from it.
    now = datetime.datetime.now(SHANGHAI)
    midnight = now.replace(hour=0, minute=0, second=0, microsecond=0)
    ended = max(now - datetime.timedelta(minutes=1), midnight + datetime.timedelta(seconds=1))
    copy = velmor_data.encode_records([velmor_data.record(
        "旧记录", ended - datetime.timedelta(seconds=1500), 1500, project="学习", ended=ended)])
    os.makedirs(velmor_data.data_folder(app.home))
    with open(velmor_data.record_file(app.home), "wb") as out:
        out.write(damaged)
    velmor_data.write_default(app.home, "focus-records", copy)

    before = int(time.time())
    main = launch(app)
    shown_text(main, "专注记录读取异常，已备份原文，本次暂停写入以保护数据。")
    shown_button(main, "查看备份")
    shown_button(main, "修复…")
    after = int(time.time())
    log("warning shown")

    folder = velmor_data.data_folder(app.home)
    backups = [name for name in os.listdir(folder) if name.startswith("focus-records-corrupt-")]
    check(len(backups) == 1, f"expected one backup, found {os.listdir(folder)}")
    match = re.fullmatch(r"focus-records-corrupt-(\d+)\.json", backups[0])
    check(match and before <= int(match.group(1)) <= after,
          f"backup name {backups[0]} does not carry the start-up second ({before} … {after})")
    check(read_file(os.path.join(folder, backups[0])) == damaged,
          "the backup does not hold the damaged bytes")
    # The defaults copy was not used: its 25 minutes do not count for today.
    study = shown_button(main, "学习")
    wait_for("today's 0 minutes of 学习", lambda: find_showing(
        study, "今日 0 分钟", ("label", "static")), 10)

    # The warning can be dismissed; writing stays locked.
    press_shown(main, "我知道了")
    gone(main, "专注记录读取异常，已备份原文，本次暂停写入以保护数据。")
    check(app.running(), "the application is no longer running")

    title = "暂存后写入"
    set_duration(main, 0, 3)
    type_into(main, "这一轮要做什么？", title)
    press_shown(main, "开始")
    wait_for("the completion alert", lambda: alert_frames(main), 30)
    alert = alert_frames(main)[0]
    shown_text(alert, "专注完成")
    # The record is refused and kept, and the warning says so.
    shown_text(main, "记录读取异常，已暂停写入以保护原数据。")
    shown_text(main, "1 段专注已暂存，修复记录后写入。")
    press_shown(alert, "知道了")
    wait_for("the alert to close", lambda: not alert_frames(main), 10)

    check(read_file(velmor_data.record_file(app.home)) == damaged,
          "the damaged record file was changed")
    check(velmor_data.read_default(app.home, "focus-records") == copy,
          "the defaults copy was changed")
    check(sorted(os.listdir(folder)) == sorted(["focus-records.json"] + backups),
          f"unexpected files in the storage folder: {os.listdir(folder)}")

    # Quitting would lose the kept session: it asks, and "取消" keeps the application running.
    menu = open_tray_menu()
    check(menu, "the tray menu did not open")
    desktop.click(wait_for('the tray menu entry "退出"', lambda: find_showing(
        menu, "退出", ("menu item",)), 10))
    shown_text(main, "退出 Velmor's Focus？")
    press_shown(main, "取消")
    gone(main, "退出 Velmor's Focus？")
    check(app.running(), "the application quit with a session waiting")
    log("quitting asked first")

    press_shown(main, "修复…")
    second_copy = wait_for('the source "第二份副本"', lambda: find_showing(
        main, "第二份副本", ("radio button",)))
    shown_text(main, "1 条记录")
    shown_text(main, "不是有效的 JSON")  # the backup of the damaged file, greyed
    desktop.click(second_copy)
    shown_text(main, "所选来源的记录最多，共 1 条。另有 1 段暂存的专注一并写入。")
    press_shown(main, "修复记录")
    gone(main, "记录读取异常，已暂停写入以保护原数据。")
    check(not find_showing(main, "修复…", ("push button",)), '"修复…" is still offered')
    log("repaired from the second copy")

    # The copy's record and the kept session, newest first, in the file and the copy alike.
    wait_for_stored(app.home, 2)
    records = stored_records(app.home)
    check([record["title"] for record in records] == [title, "旧记录"],
          f"stored records {records}")
    check(records[0]["duration"] == 3 and records[0]["early"] is False,
          f"the kept session was stored as {records[0]}")
    check_stored_copy(app.home)
    check(read_file(os.path.join(folder, backups[0])) == damaged, "the backup was changed")
    check(sorted(os.listdir(folder)) == sorted(["focus-records.json"] + backups),
          f"unexpected files in the storage folder: {os.listdir(folder)}")
    # The restored 25 minutes count for today again.
    wait_for("today's 25 minutes of 学习", lambda: find_showing(
        study, "今日 25 分钟", ("label", "static")), 10)

    quit_from_tray(app)


def capture_preview(app, main, name):
    capture = Capture(os.path.join(app.work, name))
    press_shown(main, "试听")
    capture.wait_for_sound()
    return capture.stop()


def check_tone(samples, what):
    frequency = dominant_frequency(samples)
    crossings = zero_crossing_frequency(samples)
    log(f"{what}: peak {peak(samples):.3f}, loudest RMS {loudest_rms(samples):.3f}, "
        f"dominant {frequency} Hz, zero crossings {crossings:.0f} Hz")
    check(peak(samples) > AUDIBLE_PEAK, f"{what} is not audible: peak {peak(samples)}")
    check(loudest_rms(samples) > AUDIBLE_RMS, f"{what} is not audible")
    check(abs(frequency - 1000) <= 20, f"{what} peaks at {frequency} Hz, not 1 kHz")
    check(abs(crossings - 1000) <= 30, f"{what} crosses zero at {crossings:.0f} Hz, not 1 kHz")


def imported_files(home):
    folder = velmor_data.data_folder(home)
    if not os.path.isdir(folder):
        return []
    return sorted(name for name in os.listdir(folder)
                  if re.fullmatch(r"[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}\..*", name))


def custom_sound(app):
    """A 1 kHz tone imported on the settings page plays on "试听"; a text file named .mp3 is
    refused with its message and leaves the imported tone in place."""
    tone = os.path.join(app.work, "tone-1khz.wav")
    write_tone(tone)
    fake = os.path.join(app.work, "x.mp3")
    with open(fake, "w", encoding="utf-8") as out:
        out.write("这不是音频文件。\n")

    main = launch(app)
    press_shown(main, "设置")
    shown_text(main, "调整结束提醒和每日专注目标。")
    press_shown(main, "选择音频…")
    use_file_dialog(tone)
    log("tone imported")
    # A successful import selects the sound.
    wait_for('the picker showing "自选音频"', lambda: find_showing(
        main, "自选音频", ("label", "static", "text", "combo box")), 10)
    wait_for('"timer-sound" = "custom"',
             lambda: velmor_data.read_default(app.home, "timer-sound") == "custom", 10)
    copies = imported_files(app.home)
    check(len(copies) == 1 and copies[0].endswith(".wav"), f"imported files: {copies}")
    copy = os.path.join(velmor_data.data_folder(app.home), copies[0])
    check(read_file(copy) == read_file(tone), "the imported copy differs from the chosen file")
    check(velmor_data.read_default(app.home, "timer-custom-audio") == copy,
          f'"timer-custom-audio" is {velmor_data.read_default(app.home, "timer-custom-audio")}')

    check_tone(capture_preview(app, main, "preview-1.raw"), "the imported tone")

    press_shown(main, "选择音频…")
    use_file_dialog(fake)
    shown_text(main, "音频提示")
    shown_text(main, "无法读取该音频，请选择其他音频文件。")
    log("refusal shown")
    press_shown(main, "好")
    gone(main, "无法读取该音频，请选择其他音频文件。")
    check(imported_files(app.home) == copies,
          f"the refused file left a copy: {imported_files(app.home)}")
    check(velmor_data.read_default(app.home, "timer-custom-audio") == copy,
          "the refused import changed the custom sound")
    check(velmor_data.read_default(app.home, "timer-sound") == "custom",
          "the refused import changed the chosen sound")
    check(read_file(fake) == "这不是音频文件。\n".encode("utf-8"), "the chosen file was changed")

    check_tone(capture_preview(app, main, "preview-2.raw"), "the tone after the refused import")
    quit_from_tray(app)


def at(day, hour, minute, second=0):
    return datetime.datetime(*day, hour, minute, second, tzinfo=SHANGHAI)


def export_records():
    """The seeded history, deliberately not in end-time order in the file."""
    record = velmor_data.record
    return [
        record("晨读, 第一章", at((2024, 3, 5), 8, 0), 1500, project="学习",
               subproject="英语", record_id="0B3E4C52-9E0C-4E4B-8F3A-6A7F3C2B1D01"),
        record('写 "周报"', at((2024, 3, 5), 14, 5, 30), 3600.9, project="工作",
               wrap_up="初稿完成，明天校对", record_id="0B3E4C52-9E0C-4E4B-8F3A-6A7F3C2B1D02"),
        record("跨过午夜", at((2023, 12, 31), 23, 50), 1800, project="个人",
               wrap_up='提到"新年", 然后\n换行', early=True,
               record_id="0B3E4C52-9E0C-4E4B-8F3A-6A7F3C2B1D03"),
        record("", at((2024, 11, 20), 9, 3), 59.99, project="未分类", wrap_up="",
               early=True, record_id="0B3E4C52-9E0C-4E4B-8F3A-6A7F3C2B1D04"),
        record("Review PR", at((2024, 3, 5), 10, 0), 600, project="工作", subproject="代码评审",
               ended=at((2024, 3, 5), 10, 25), record_id="0B3E4C52-9E0C-4E4B-8F3A-6A7F3C2B1D05"),
    ]


# Written out by hand from the export rules: byte-order mark, unquoted header, every cell in
# double quotes with inner quotes doubled, newest end first, dates of the end in the zh_CN
# numeric form, times as 24-hour hours:minutes, whole seconds, "是"/"否", "收尾未补" when the
# record has no note (an empty note gives an empty cell), no line feed after the last line.
EXPECTED_CSV = (
    "\ufeff日期,项目,事项,开始,结束,时长(秒),提前结束,收尾\n"
    '"2024/11/20","未分类","","09:03","09:03","59","是",""\n'
    '"2024/3/5","工作","写 ""周报""","14:05","15:05","3600","否","初稿完成，明天校对"\n'
    '"2024/3/5","工作","Review PR","10:00","10:25","600","否","收尾未补"\n'
    '"2024/3/5","学习","晨读, 第一章","08:00","08:25","1500","否","收尾未补"\n'
    '"2024/1/1","个人","跨过午夜","23:50","00:20","1800","是","提到""新年"", 然后\n换行"'
).encode("utf-8")


def csv_export(app):
    """The history is exported through the save dialog as the CSV file a spreadsheet reads."""
    seeded = velmor_data.write_records(app.home, export_records())
    target = os.path.join(app.work, "导出", "我的记录.csv")
    os.makedirs(os.path.dirname(target))

    main = launch(app)
    press_shown(main, "专注记录")
    # The history's summary line is a plain Text, which screen readers do not see; the year
    # group of the seeded records tells that the page shows them.
    shown_button(main, "2024年")
    press_shown(main, "导出 CSV")
    dialog = wait_for("the save dialog", lambda: (dialogs() or [None])[0], 20)
    # The suggested name is offered.
    wait_for('the suggested name "专注记录.csv"', lambda: desktop.pyatspi.findDescendant(
        dialog, lambda node: node is not None and node.getRoleName() == "text"
        and text_of(node).endswith("专注记录.csv")), 10)
    use_file_dialog(target)
    wait_for("the exported file", lambda: os.path.exists(target), 10)
    exported = read_file(target)
    if exported != EXPECTED_CSV:
        sys.stderr.write("expected:\n" + EXPECTED_CSV.decode("utf-8") + "\nexported:\n"
                         + exported.decode("utf-8", "replace") + "\n")
    check(exported == EXPECTED_CSV, "the exported CSV differs from the expected bytes")
    check(os.listdir(os.path.dirname(target)) == ["我的记录.csv"],
          f"stray files beside the export: {os.listdir(os.path.dirname(target))}")
    # A successful export shows no message and stores nothing.
    check(not find_showing(main, "查看备份", ("push button",)), "a record message is shown")
    check(read_file(velmor_data.record_file(app.home)) == seeded,
          "the export changed the record file")
    quit_from_tray(app)


def close_window(window_id):
    """Asks the window to close as a window manager's close button does (WM_DELETE_WINDOW); the
    test desktop has no window manager to ask."""
    import ctypes
    x11 = ctypes.CDLL("libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5),
                    ("pad", ctypes.c_long * 24)]

    display = x11.XOpenDisplay(None)
    check(display, "cannot open the X display")
    event = ClientMessage()
    event.type = 33  # ClientMessage
    event.window = window_id
    event.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.format = 32
    event.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(display, window_id, 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


def command_line(app):
    """The running application driven from a shell: toggle, status as JSON, show."""
    main = launch(app)
    shown_button(main, "开始")

    def run(*arguments):
        result = subprocess.run([app.binary, *arguments], env=app.environment(),
                                capture_output=True, text=True, timeout=30)
        return result.returncode, result.stdout

    def status():
        code, out = run("--status", "--json")
        check(code == 0, f"--status --json ended with {code}")
        return json.loads(out)

    check(run("--toggle")[0] == 0, "--toggle failed")
    shown_button(main, "暂停")
    first = status()
    check(first["state"] == "正在专注", f"the status after --toggle is {first}")
    check(first["total"] == 1500 and first["project"] == "学习", f"the status is {first}")
    counted = wait_for("the status to count down",
                       lambda: (lambda now: now if now["remaining"] < first["remaining"]
                                else None)(status()), 10)
    log(f"counting: {counted}")
    code, line = run("--status")
    check(code == 0 and line.startswith("正在专注 24:") and line.rstrip().endswith("学习"),
          f"the status line is {line!r}")

    check(run("--toggle")[0] == 0, "the second --toggle failed")
    shown_button(main, "继续")
    paused = status()
    check(paused["state"] == "已暂停", f"the status after the second --toggle is {paused}")
    time.sleep(1.5)
    check(status()["remaining"] == paused["remaining"], "the paused session still counts")

    window = desktop.xdotool("search", "--name", "^Velmor's Focus$")[0]
    close_window(int(window))
    wait_for("the main window to close", lambda: not is_showing(main), 10)
    check(app.process.poll() is None, "closing the window ended the application")
    check(run("--show")[0] == 0, "--show failed")
    wait_for("the main window to come back", lambda: is_showing(desktop.main_window(10)), 10)
    quit_from_tray(app)
    code, _ = run("--status")
    check(code == 3, f"--status after quitting ended with {code}, not 3")


JOURNEYS = {
    "first_session": first_session,
    "finish_early": finish_early,
    "damaged_records": damaged_records,
    "custom_sound": custom_sound,
    "csv_export": csv_export,
    "command_line": command_line,
}


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in JOURNEYS:
        sys.exit(f"usage: {sys.argv[0]} {{{'|'.join(JOURNEYS)}}} APPLICATION")
    name, binary = sys.argv[1], sys.argv[2]
    app = App(os.path.abspath(binary), name)
    failed = True
    started = time.monotonic()
    try:
        JOURNEYS[name](app)
        failed = False
    except JourneyFailure as failure:
        print(f"FAIL {name}: {failure}", file=sys.stderr)
    except SystemExit as stop:
        print(f"FAIL {name}: {stop.code}", file=sys.stderr)
    finally:
        app.stop(failed)
    log(f"{name}: {'failed' if failed else 'passed'} in {time.monotonic() - started:.1f} s")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
