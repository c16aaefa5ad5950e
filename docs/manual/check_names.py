#!/usr/bin/env python3
"""Checks that the manual quotes the program's own names.

Usage: check_names.py [MANUAL_FOLDER [STRINGS_FOLDER]]

The manual writes every menu item, button and dialog name it quotes in
<i>...</i> ("<i>File &gt; Save as...</i>", one name per step of a menu
path), and the pages that list the controls of a menu or window start each
item with the control's name in <b>...</b> (the File menu's page, each row
of its table with the item's name). Each such name must be an
English text of the string table, as the program shows it: without the
accelerator mark, and with or without a final "..." or ":". A name the
program does not have (an old caption, a Windows program) is printed with
its page and makes the exit status 1.
"""

import html
import os
import re
import sys

# The menus by the string ids of their title and items, for menu paths
# ("Commands > Compile" must name an item of the Commands menu, not just
# any text).
MENUS = {
    1: [2, 3, 4, 289, 280, 5, 6],
    7: [287, 288, 8, 9, 10, 11, 12, 13, 18, 16, 17, 38, 341],
    13: [14, 15, 41, 42],
    18: [19, 20],
    21: [22, 23, 24, 25],
    25: [26, 27],
    28: [29, 30, 33, 34],
    35: [36, 126, 127, 128, 37],
    128: [132, 129, 131],
}
MENU_BAR = [1, 7, 21, 28, 35]

# Pages whose table rows open with an item of a menu.
MENU_TABLE_PAGES = {"file_menu.htm": "File"}

# Pages whose list items open with the name of a control.
CONTROL_LIST_PAGES = {"help_menu.htm", "compile.htm", "preview.htm", "index_page.htm", "settings.htm"}


def normal(text):
    text = html.unescape(text).replace("&&", "\0").replace("&", "").replace("\0", "&")
    text = " ".join(text.split())
    for end in ("...", ":"):
        if text.endswith(end):
            text = text[: -len(end)].rstrip()
    return text


def read_table(strings_folder):
    table = {}
    with open(os.path.join(strings_folder, "en.txt"), encoding="utf-8") as lines:
        for line in lines:
            key, tab, text = line.rstrip("\n").partition("\t")
            if tab and key.isdigit():
                table[int(key)] = text
    return table


def menu_path_problem(steps, table):
    """Why `steps` (a menu path) is not one of the program's, or None."""
    items = MENU_BAR
    for step in steps:
        found = [ident for ident in items if normal(table.get(ident, "")) == normal(step)]
        if not found:
            return f"\"{normal(step)}\" is not in that menu"
        items = MENUS.get(found[0], [])
    return None


def quoted_names(page_text, page_name):
    """(name, menu path or None) for every quoted name of a page."""
    for quote in re.findall(r"<i>(.*?)</i>", page_text, re.S):
        steps = re.split(r"\s*&gt;\s*", quote)
        for step in steps:
            yield step, steps if len(steps) > 1 else None
    if page_name in CONTROL_LIST_PAGES:
        for name in re.findall(r"<li>\s*<b>(.*?)</b>", page_text, re.S):
            yield name, None
    if page_name in MENU_TABLE_PAGES:
        for name in re.findall(r"<tr><td>(.*?)</td>", page_text, re.S):
            yield name, [MENU_TABLE_PAGES[page_name], name]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    manual = sys.argv[1] if len(sys.argv) > 1 else here
    strings = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "..", "data", "strings")
    table = read_table(strings)
    names = {normal(part) for text in table.values() for part in text.split("|")}
    problems = []
    checked = 0
    for page in sorted(os.listdir(manual)):
        if not page.endswith(".htm"):
            continue
        with open(os.path.join(manual, page), encoding="windows-1252") as f:
            text = f.read()
        for name, path in quoted_names(text, page):
            checked += 1
            if normal(name) not in names:
                problems.append(f"{page}: \"{normal(name)}\" is not a name the program shows")
            elif path is not None and name == path[-1] and (why := menu_path_problem(path, table)):
                problems.append(f"{page}: menu path \"{' > '.join(map(normal, path))}\": {why}")
    for problem in problems:
        print(problem)
    if problems:
        return 1
    print(f"ok: {checked} quoted names")
    return 0


if __name__ == "__main__":
    sys.exit(main())
