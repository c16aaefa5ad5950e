#!/usr/bin/env python3
"""Checks the program's manual in every language.

Usage: check_manual.py [MANUAL_FOLDER [STRINGS_FOLDER [HELP_CONTEXTS_HEADER]]]

The English manual is MANUAL_FOLDER itself, each translation a folder
named by its language (de, es, fr, ru). For every language it finds:

- a page of the English manual the translation lacks (or one it has and
  English has not), and a page the contents or index of doxel.dxp names
  that does not exist;
- a link or picture that leads to no file, and a link to an anchor
  (page.htm#name) that the page does not have;
- a quoted name of the window that is not the window's own text in that
  language: the manual writes every menu item, button and dialog name it
  quotes in <i>...</i> ("<i>File &gt; Save as...</i>", one name per step of
  a menu path, each path one the menus really have), and the pages that
  list the controls of a menu or window start each item with the control's
  name in <b>...</b>. Names are compared as the program shows them: without
  the accelerator mark, with or without a final "..." or ":";
- a page of an F1 context (env/help_contexts.h) that is missing.

These make the exit status 1. It also notes, without failing, a translated
page older than its English page: each translation names the English page
it was made from with <meta name="english-page" content="DIGEST">, the
first 12 hex digits of the SHA-1 of the English page's bytes
(check_manual.py --digest PAGE prints it), and a page whose English page
has changed since says so.
"""

import hashlib
import html
import os
import re
import sys

TRANSLATIONS = ["de", "es", "fr", "ru"]

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

# Pages whose table rows open with an item of a menu (the File menu's id).
MENU_TABLE_PAGES = {"file_menu.htm": 1}

# Pages whose list items open with the name of a control.
CONTROL_LIST_PAGES = {"help_menu.htm", "compile.htm", "preview.htm", "index_page.htm", "settings.htm"}


def normal(text):
    text = html.unescape(text).replace("&&", "\0").replace("&", "").replace("\0", "&")
    text = " ".join(text.split())
    for end in ("...", ":"):
        if text.endswith(end):
            text = text[: -len(end)].rstrip()
    return text


def read_table(strings_folder, language):
    table = {}
    with open(os.path.join(strings_folder, language + ".txt"), encoding="utf-8") as lines:
        for line in lines:
            key, tab, text = line.rstrip("\n").partition("\t")
            if tab and key.isdigit():
                table[int(key)] = text
    return table


def read_page(path):
    """The text of a page, in the code page its charset declaration names."""
    with open(path, "rb") as f:
        data = f.read()
    declared = re.search(rb"charset=([\w-]+)", data[:1024], re.I)
    return data.decode(declared.group(1).decode("ascii") if declared else "windows-1252")


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha1(f.read()).hexdigest()[:12]


def menu_path_problem(steps, table):
    """Why `steps` (a menu path) is not one of the program's, or None."""
    items = MENU_BAR
    for step in steps:
        found = [ident for ident in items if normal(table.get(ident, "")) == normal(step)]
        if not found:
            return f"\"{normal(step)}\" is not in that menu"
        items = MENUS.get(found[0], [])
    return None


def quoted_names(page_text, page_name, table):
    """(name, menu path or None) for every quoted name of a page."""
    for quote in re.findall(r"<i>(.*?)</i>", page_text, re.S):
        steps = re.split(r"\s*&gt;\s*", quote)
        for step in steps:
            yield step, steps if len(steps) > 1 else None
    if page_name in CONTROL_LIST_PAGES:
        for name in re.findall(r"<li>\s*<b>(.*?)</b>", page_text, re.S):
            yield name, None
    if page_name in MENU_TABLE_PAGES:
        menu = table[MENU_TABLE_PAGES[page_name]]
        for name in re.findall(r"<tr><td>(.*?)</td>", page_text, re.S):
            yield name, [menu, name]


def project_targets(folder):
    """The pages the contents and index of the folder's doxel.dxp lead to."""
    path = os.path.join(folder, "doxel.dxp")
    if not os.path.exists(path):
        return None
    with open(path, encoding="utf-8") as f:
        text = f.read()
    return {line.split("\x07", 1)[1].strip() for line in text.splitlines() if "\x07" in line}


def help_context_pages(header):
    with open(header, encoding="utf-8") as f:
        return set(re.findall(r"\"([\w-]+\.htm)\"", f.read()))


def check_language(language, folder, english, table, context_pages, problems, notes):
    names = {normal(part) for text in table.values() for part in text.split("|")}
    pages = sorted(p for p in os.listdir(folder) if p.endswith(".htm"))
    english_pages = sorted(p for p in os.listdir(english) if p.endswith(".htm"))
    where = "" if folder == english else language + "/"
    for page in sorted(set(english_pages) - set(pages)):
        problems.append(f"{where}{page}: missing (the English manual has it)")
    for page in sorted(set(pages) - set(english_pages)):
        problems.append(f"{where}{page}: the English manual has no such page")
    for page in sorted(context_pages - set(pages)):
        problems.append(f"{where}{page}: an F1 context opens it, but the manual has no such page")
    targets = project_targets(folder)
    if targets is None:
        problems.append(f"{where}doxel.dxp: missing")
    else:
        for target in sorted(targets):
            if not os.path.exists(os.path.join(folder, target.split("#")[0])):
                problems.append(f"{where}doxel.dxp: leads to \"{target}\", which does not exist")
    texts = {page: read_page(os.path.join(folder, page)) for page in pages}
    anchors = {page: set(re.findall(r"\b(?:id|name)=\"([^\"]+)\"", text)) for page, text in texts.items()}
    checked = 0
    for page, text in texts.items():
        for target in re.findall(r"<(?:a|link)\b[^>]*\bhref=\"([^\"]*)\"", text) + re.findall(
            r"<img\b[^>]*\bsrc=\"([^\"]*)\"", text
        ):
            if re.match(r"[a-z]+:", target):
                continue  # an address outside the manual
            file, _, anchor = target.partition("#")
            file = file or page
            lent = os.path.join(english, file)  # the stylesheet and pictures English lends
            if not os.path.exists(os.path.join(folder, file)) and not (
                file.endswith((".css", ".png")) and os.path.exists(lent)
            ):
                problems.append(f"{where}{page}: link to \"{target}\", which does not exist")
            elif anchor and anchor not in anchors.get(file, set()):
                problems.append(f"{where}{page}: link to \"{target}\": {file} has no anchor \"{anchor}\"")
        for name, path in quoted_names(text, page, table):
            checked += 1
            if normal(name) not in names:
                problems.append(f"{where}{page}: \"{normal(name)}\" is not a name the program shows")
            elif path is not None and name == path[-1] and (why := menu_path_problem(path, table)):
                problems.append(f"{where}{page}: menu path \"{' > '.join(map(normal, path))}\": {why}")
        if folder != english and page in english_pages:
            made_from = re.search(r"<meta name=\"english-page\" content=\"([0-9a-f]+)\"", text)
            if not made_from:
                notes.append(f"{where}{page}: names no English page it was made from")
            elif made_from.group(1) != digest(os.path.join(english, page)):
                notes.append(f"{where}{page}: older than its English page, which changed since")
    return checked


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--digest":
        print(digest(sys.argv[2]))
        return 0
    here = os.path.dirname(os.path.abspath(__file__))
    manual = sys.argv[1] if len(sys.argv) > 1 else here
    strings = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "..", "data", "strings")
    header = sys.argv[3] if len(sys.argv) > 3 else os.path.join(here, "..", "..", "env", "help_contexts.h")
    context_pages = help_context_pages(header)
    problems, notes = [], []
    counts = []
    for language in ["en"] + TRANSLATIONS:
        folder = manual if language == "en" else os.path.join(manual, language)
        if not os.path.isdir(folder):
            problems.append(f"{language}/: the manual in this language is missing")
            continue
        checked = check_language(
            language, folder, manual, read_table(strings, language), context_pages, problems, notes
        )
        counts.append(f"{language} {checked}")
    for note in notes:
        print("note: " + note)
    for problem in problems:
        print(problem)
    if problems:
        return 1
    print("ok: quoted names " + ", ".join(counts))
    return 0


if __name__ == "__main__":
    sys.exit(main())
