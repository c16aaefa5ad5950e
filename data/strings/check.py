#!/usr/bin/env python3
"""Consistency check of the string table files in this folder.

Usage: check.py [FOLDER]   (default: the folder of this script)

Problems are printed one per line and make the exit status 1; an
accelerator letter used twice within one menu is one, in every language.
"""

import os
import re
import sys

LANGUAGES = ["en", "de", "fr", "es", "ru"]
ID_RANGE = range(1, 400)
FIXED_RANGE = range(65296, 65328)
# The fixed texts in use: shell-open failures and help viewer errors.
FIXED_IDS = set(range(65296, 65301)) | set(range(65316, 65328))

# Texts a translation may share with English because the word is the same
# in that language (or is a product name).
SAME_AS_ENGLISH = {
    "&OK",
    "&Options",
    "Options",
    "Text:",
    "Index",
    "Internet",
    "Navigation",
}

# Names that stay untranslated: a translation carries each one as often as
# the English text does. Accelerator marks are removed before counting.
KEPT_NAMES = ["HTML Doxel", "HTML Help", "HTML", "CHM", "TXT", "FrontPage", "IE"]

# Menus and button rows whose accelerators should differ.
MENUS = {
    "menu bar": [1, 7, 21, 28, 35],
    "File": [2, 3, 4, 289, 6],
    "Edit": [287, 288, 8, 9, 10, 11, 12, 13, 18, 16, 17, 38, 341],
    "help ids buttons": [345, 346, 347],
    "contents pop-up": [40, 8, 9, 10, 13, 11, 12, 39],
    "Commands": [22, 23, 24, 25],
    "Options": [29, 30, 33, 34],
    "Help": [126, 127],
    "Internet": [132, 129, 131],
    "wizard buttons": [196, 197],
    "dialog buttons": [114, 115],
}

# Id of the wizard text that names the finish button, and of that button.
FINISH_HINT_ID = 207
FINISH_BUTTON_ID = 198

# The text fetch keeps at most 499 characters; staying under that in UTF-8
# bytes keeps a text whole whichever way the loader counts.
MAX_TEXT_BYTES = 499


def read_table(path, problems, allowed_ids):
    """Reads ID<TAB>TEXT lines into a dict; reports malformed lines."""
    name = os.path.basename(path)
    table = {}
    try:
        with open(path, "rb") as f:
            raw = f.read()
    except OSError as e:
        problems.append(f"{name}: cannot read: {e}")
        return table
    if b"\r" in raw:
        problems.append(f"{name}: contains CR characters; lines must end with LF only")
    try:
        content = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        problems.append(f"{name}: not valid UTF-8: {e}")
        return table
    if content.startswith("\ufeff"):
        problems.append(f"{name}: starts with a byte order mark")
    if content and not content.endswith("\n"):
        problems.append(f"{name}: last line has no line end")
    for number, line in enumerate(content.split("\n"), 1):
        line = line.rstrip("\r")
        if line == "" or line.startswith("#"):
            continue
        key, tab, text = line.partition("\t")
        where = f"{name}:{number}"
        if not tab:
            problems.append(f"{where}: no TAB between id and text")
            continue
        if not re.fullmatch(r"[0-9]+", key):
            problems.append(f"{where}: id {key!r} is not a number")
            continue
        ident = int(key)
        if ident not in allowed_ids:
            problems.append(f"{where}: id {ident} is outside {allowed_ids.start}..{allowed_ids.stop - 1}")
        if "\t" in text:
            problems.append(f"{where}: text of id {ident} contains a TAB")
        if ident in table:
            problems.append(f"{where}: id {ident} appears twice")
        table[ident] = text
    return table


def accelerators(text):
    """Returns the characters marked with a single '&' ('&&' is a literal '&')."""
    marks = []
    i = 0
    while i < len(text):
        if text[i] == "&":
            if i + 1 < len(text) and text[i + 1] == "&":
                i += 2
                continue
            marks.append(text[i + 1] if i + 1 < len(text) else "")
        i += 1
    return marks


def plain(text):
    return text.replace("&&", "\0").replace("&", "").replace("\0", "&")


def count_name(text, name):
    # "HTML" is also part of "HTML Help" and "HTML Doxel"; counting every
    # occurrence keeps the comparison symmetric between languages.
    return len(re.findall(r"(?<![A-Za-z])" + re.escape(name) + r"(?![A-Za-z])", plain(text)))


def check_translation(lang, table, english, problems):
    for ident, en_text in english.items():
        if ident not in table:
            continue
        text = table[ident]
        where = f"{lang}.txt id {ident}"
        if text.count("|") != en_text.count("|"):
            problems.append(f"{where}: {text.count('|')} line breaks '|', English has {en_text.count('|')}")
        if len(text.encode("utf-8")) > MAX_TEXT_BYTES:
            problems.append(f"{where}: longer than {MAX_TEXT_BYTES} bytes")
        if text.strip() == "":
            problems.append(f"{where}: empty text")
        if lang != "en" and text == en_text and text not in SAME_AS_ENGLISH:
            problems.append(f"{where}: same as English ({text!r})")
        en_marks = accelerators(en_text)
        marks = accelerators(text)
        if len(marks) != len(en_marks):
            problems.append(f"{where}: {len(marks)} accelerator marks, English has {len(en_marks)}")
        for mark in marks:
            if not mark.isalnum():
                problems.append(f"{where}: accelerator mark before {mark!r}, not a letter or digit")
        if en_text != en_text.rstrip(" ") and text == text.rstrip(" "):
            problems.append(f"{where}: English ends in spaces, the translation does not")
        if en_text == en_text.rstrip(" ") and text != text.rstrip(" "):
            problems.append(f"{where}: trailing spaces that English does not have")
        if text != text.lstrip(" ") and en_text == en_text.lstrip(" "):
            problems.append(f"{where}: leading spaces that English does not have")
        for name in KEPT_NAMES:
            if count_name(text, name) != count_name(en_text, name):
                problems.append(f"{where}: {name!r} appears {count_name(text, name)} times, "
                                f"in English {count_name(en_text, name)} times")


def check_menus(lang, table, problems):
    for menu, ids in MENUS.items():
        seen = {}
        for ident in ids:
            for mark in accelerators(table.get(ident, "")):
                key = mark.lower()
                if key in seen:
                    problems.append(f"{lang}.txt: menu {menu}: accelerator {mark!r} "
                                    f"used by ids {seen[key]} and {ident}")
                else:
                    seen[key] = ident


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    problems = []
    warnings = []
    tables = {lang: read_table(os.path.join(folder, f"{lang}.txt"), problems, ID_RANGE)
              for lang in LANGUAGES}
    english = tables["en"]
    if not english:
        problems.append("en.txt: no texts")
    for lang in LANGUAGES[1:]:
        ids = set(tables[lang])
        missing = sorted(set(english) - ids)
        extra = sorted(ids - set(english))
        if missing:
            problems.append(f"{lang}.txt: missing ids {missing}")
        if extra:
            problems.append(f"{lang}.txt: ids not in en.txt {extra}")
    for lang in LANGUAGES:
        check_translation(lang, tables[lang], english, problems)
        check_menus(lang, tables[lang], problems)
        hint = tables[lang].get(FINISH_HINT_ID)
        button = tables[lang].get(FINISH_BUTTON_ID)
        if hint is not None and button is not None and f"<{plain(button)}>" not in hint:
            problems.append(f"{lang}.txt id {FINISH_HINT_ID}: does not name the button "
                            f"<{plain(button)}> of id {FINISH_BUTTON_ID}")

    fixed = read_table(os.path.join(folder, "fixed.txt"), problems, FIXED_RANGE)
    if set(fixed) != FIXED_IDS:
        missing = sorted(FIXED_IDS - set(fixed))
        extra = sorted(set(fixed) - FIXED_IDS)
        problems.append(f"fixed.txt: missing ids {missing}, unknown ids {extra}")
    for ident, text in fixed.items():
        if "|" in text:
            problems.append(f"fixed.txt id {ident}: contains '|'")
        if not text.isascii():
            problems.append(f"fixed.txt id {ident}: not plain ASCII")

    for line in warnings:
        print(f"warning: {line}")
    for line in problems:
        print(line)
    if problems:
        print(f"{len(problems)} problem(s) found")
        return 1
    print(f"ok: {len(LANGUAGES)} languages with {len(english)} texts each, "
          f"{len(fixed)} fixed texts")
    return 0


if __name__ == "__main__":
    sys.exit(main())
