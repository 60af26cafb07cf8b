# SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
# SPDX-License-Identifier: GPL-3.0-or-later

"""Seeds a home folder with sample data and photographs the running application in it.

Run by scripts/screenshots on its private test desktop, in two steps for each kind of home:

    screenshots.py seed-sample HOME   before the application starts: a project catalogue with
                                      colours and subprojects, a daily goal, and records over the
                                      last two weeks plus a few older ones, all relative to today
                                      so the pictures stay meaningful whenever they are made;
    screenshots.py shoot-sample OUT   with the application running: every page and state, as
                                      PNG files in OUT;
    screenshots.py seed-damaged HOME  the same catalogue and records in the defaults copy, a
                                      record file that is not JSON and an older backup;
    screenshots.py shoot-damaged OUT  the warning with a session kept, and the repair sheet.

Controls are found by their accessible names over AT-SPI and clicked as a user would.
"""
import datetime
import os
import random
import re
import subprocess
import sys
import time

import pyatspi

from velmor_data import (data_folder, encode_records, instant, record, record_file, write_default,
                         write_records)
from velmor_desktop import (PARK, button, click, descendant, frames, main_window, press,
                            set_duration, showing, wait_for, xdotool)

PROJECTS = ["学习", "工作", "个人", "健身"]
# Palette indices: blue, orange, purple, mint.
PROJECT_COLORS = {"学习": 0, "工作": 7, "个人": 12, "健身": 3}
SUBPROJECTS = {"学习": ["阅读", "课程"], "工作": ["周报", "设计评审"], "健身": ["跑步"]}
GOAL_HOURS = 3

# What a day's sessions may be: project, subproject, title, wrap-up note.
SESSIONS = [
    ("学习", "阅读", "读《深度工作》第三章", "读完第三章，明天整理笔记"),
    ("学习", "课程", "线性代数：特征值习题", "做完 5.1，5.2 留到明天"),
    ("学习", None, "背单词 List 12", None),
    ("工作", "周报", "整理本周周报", "初稿已发，等组长反馈"),
    ("工作", "设计评审", "准备计时器模块设计评审", "列好三个待决问题"),
    ("工作", None, "重构记录导出", "CSV 导出改完，缺测试"),
    ("工作", None, "回复邮件和消息", None),
    ("个人", None, "整理照片和备份", None),
    ("个人", None, "写周末旅行计划", "订好车票，住处待定"),
    ("健身", "跑步", "晨跑 5 公里", "配速 6:10"),
    ("健身", None, "力量训练", None),
]
# Start times of a day's sessions, in minutes after midnight.
SLOTS = [8 * 60 + 30, 10 * 60, 13 * 60 + 30, 15 * 60 + 10, 19 * 60 + 40, 21 * 60 + 10]


def local_day(days_ago):
    """Local midnight that many days before today."""
    day = datetime.date.today() - datetime.timedelta(days=days_ago)
    return datetime.datetime(day.year, day.month, day.day).astimezone()


def day_records(days_ago, rng):
    """A plausible past day of focus work: two to five sessions of 25 to 90 minutes."""
    day = local_day(days_ago)
    result = []
    for slot in sorted(rng.sample(SLOTS, rng.randint(2, 5))):
        project, subproject, title, wrap_up = rng.choice(SESSIONS)
        minutes = rng.choice([25, 25, 30, 45, 50, 60, 75, 90])
        early = rng.random() < 0.2
        seconds = minutes * 60 - (rng.randint(120, 600) if early else 0)
        started = day + datetime.timedelta(minutes=slot)
        result.append(record(title, started, seconds, project=project, subproject=subproject,
                             wrap_up=wrap_up, early=early))
    return result


def sample_records():
    rng = random.Random(7)
    now = datetime.datetime.now().astimezone()
    records = []
    for days_ago in range(1, 14):
        records += day_records(days_ago, rng)
    # Today, whatever the hour: a few sessions that ended shortly before now, one cut short.
    ended = now - datetime.timedelta(minutes=8)
    for project, subproject, title, wrap_up, minutes in [
            ("工作", "设计评审", "准备计时器模块设计评审", "列好三个待决问题", 50),
            ("学习", "阅读", "读《深度工作》第四章", None, 25),
            ("健身", "跑步", "晨跑 5 公里", "配速 6:10", 32.5)]:
        started = ended - datetime.timedelta(minutes=minutes)
        if started.date() == now.date():
            records.append(record(title, started, minutes * 60, project=project,
                                  subproject=subproject, wrap_up=wrap_up,
                                  early=minutes % 1 != 0))
        ended = started - datetime.timedelta(minutes=15)
    # A few older days, and one record of a year ago under a project that no longer exists.
    for days_ago in (19, 33, 47):
        records += day_records(days_ago, rng)
    year_ago = local_day(380) + datetime.timedelta(hours=20)
    records.append(record("年终总结", year_ago, 3600, project="未分类",
                          wrap_up="写完了，明年继续"))
    records.sort(key=lambda entry: entry["endedAt"], reverse=True)
    return records


def seed_catalog(home):
    write_default(home, "timer-projects", PROJECTS)
    write_default(home, "timer-project-colors", PROJECT_COLORS)
    write_default(home, "timer-subprojects", SUBPROJECTS)
    write_default(home, "timer-daily-goal-hours", GOAL_HOURS)


def seed_sample(home):
    seed_catalog(home)
    write_records(home, sample_records())


def seed_damaged(home):
    """The record file cut short by another program, the sample records in the defaults copy,
    and a backup of an older, good list from three days ago."""
    seed_catalog(home)
    records = sample_records()
    write_records(home, records)
    with open(record_file(home), "r+b") as out:
        out.truncate(len(encode_records(records)) // 2)
    older = time.time() - 3 * 86400
    with open(os.path.join(data_folder(home), f"focus-records-corrupt-{int(older)}.json"),
              "wb") as out:
        out.write(encode_records([entry for entry in records if entry["endedAt"] < instant(
            datetime.datetime.fromtimestamp(older).astimezone())]))


def find(frame, what, test, roles, timeout=20.0):
    return wait_for(what, lambda: pyatspi.findDescendant(
        frame, lambda node: node is not None and node.getRoleName() in roles and test(node.name)),
        timeout)


def groups(frame, pattern):
    """The history groups on screen whose labels match the pattern, from the top."""
    found = pyatspi.findAllDescendants(
        frame, lambda node: node is not None and node.getRoleName() == "push button"
        and re.fullmatch(pattern, node.name or "") is not None)
    # The list reuses its rows, so their order among the window's children is not the screen's.
    return sorted(found, key=lambda node: node.queryComponent().getExtents(
        pyatspi.DESKTOP_COORDS).y)


def open_group(frame, pattern):
    """Opens the topmost history group whose label matches the pattern."""
    click(wait_for(f'the group "{pattern}"', lambda: groups(frame, pattern))[0])
    time.sleep(0.4)


def photographer(main, out):
    def shot(name, whole_screen=False):
        """The main window, or the whole screen for what lies outside it (tray, alert)."""
        # Lets the last change reach the screen.
        time.sleep(0.6)
        crop = []
        if not whole_screen:
            box = main.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            crop = ["-crop", f"{box.width}x{box.height}+{box.x}+{box.y}", "+repage"]
        subprocess.run(["import", "-window", "root", *crop, os.path.join(out, name + ".png")],
                       check=True)
        print(f"screenshots: {name}.png")
    return shot


def shoot_sample(out):
    main = main_window()
    shot = photographer(main, out)

    button(main, "开始")
    shot("main-idle")

    press(main, "开始")
    button(main, "暂停")
    time.sleep(2.2)
    shot("main-running")

    press(main, "暂停")
    button(main, "继续")
    shot("main-paused")

    # The tray menu, opened from the tray icon at the bottom right of the screen.
    panel = xdotool("search", "--name", "^panel$")[0]
    geometry = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell", panel))
    x = int(geometry["X"]) + int(geometry["WIDTH"]) // 2
    y = int(geometry["Y"]) + int(geometry["HEIGHT"]) // 2
    xdotool("mousemove", "--sync", str(x), str(y), "click", "3")
    shot("tray-menu", whole_screen=True)
    xdotool("key", "Escape")
    xdotool("mousemove", "--sync", *PARK)

    # Under a minute of focus: the reset needs no confirmation.
    press(main, "中止")
    button(main, "开始")

    # The records: the newest year, month and day opened, and the day before it.
    press(main, "专注记录")
    open_group(main, r"\d+年")
    open_group(main, r"\d+月")
    open_group(main, r"\d+日 · \d+次专注")
    days = groups(main, r"\d+日 · \d+次专注")
    if len(days) > 1:
        click(days[1])
        time.sleep(0.4)
    shot("history")

    # The review of last week, which is complete whatever today is.
    press(main, "每周复盘")
    week_label = showing_name(main, lambda name: " – " in name)
    press(main, "上一周")
    wait_for("the previous week", lambda: showing_name(main, lambda name: " – " in name)
             != week_label)
    shot("review")

    press(main, "设置")
    showing(main, "调整结束提醒和每日专注目标。")
    shot("settings")

    # The project editor over the focus page, new and on the first project.
    press(main, "开始专注")
    button(main, "开始")
    press(main, "新建项目")
    showing(main, "新建项目")
    shot("editor-new")
    close_editor(main)

    press(main, "项目操作")
    click(find(main, 'the menu entry "编辑项目"', lambda name: name == "编辑项目",
               ("menu item",)))
    showing(main, "编辑项目")
    shot("editor-edit")
    close_editor(main)

    # A three-second session, to reach the completion alert.
    button(main, "开始")
    set_duration(main, 0, 3)
    press(main, "开始")
    wait_for("the completion alert", lambda: len(frames()) > 1, timeout=15)
    shot("completion-alert", whole_screen=True)

    # "知道了" on the alert closes it.
    alert = [frame for frame in frames() if frame != main][0]
    press(alert, "知道了")
    wait_for("the alert to close", lambda: len(frames()) == 1)


def shoot_damaged(out):
    main = main_window()
    shot = photographer(main, out)
    # A three-second session while writing is locked: it is kept for the repair.
    button(main, "修复…")
    set_duration(main, 0, 3)
    press(main, "开始")
    wait_for("the completion alert", lambda: len(frames()) > 1, timeout=15)
    press([frame for frame in frames() if frame != main][0], "知道了")
    wait_for("the alert to close", lambda: len(frames()) == 1)
    showing(main, "1 段专注已暂存，修复记录后写入。")
    shot("damaged-records")

    press(main, "修复…")
    find(main, 'the source "第二份副本"', lambda name: name == "第二份副本", ("radio button",))
    shot("repair-sheet")


def close_editor(frame):
    press(frame, "取消")
    wait_for("the editor to close", lambda: not descendant(frame, "取消", ("push button",)))
    # The sheet's closing transition still takes the pointer for a moment.
    time.sleep(0.5)


def showing_name(frame, test):
    node = pyatspi.findDescendant(
        frame, lambda node: node is not None and node.getRoleName() in ("label", "static", "text")
        and test(node.name))
    return node.name if node is not None else None


STEPS = {"seed-sample": seed_sample, "shoot-sample": shoot_sample,
         "seed-damaged": seed_damaged, "shoot-damaged": shoot_damaged}


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in STEPS:
        sys.exit(f"usage: screenshots.py {{{'|'.join(STEPS)}}} HOME-OR-OUT")
    STEPS[sys.argv[1]](sys.argv[2])


if __name__ == "__main__":
    main()
