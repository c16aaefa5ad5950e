#!/usr/bin/env python3
"""Draws the program's pictures as SVG files and lists them in icons.qrc.

Run it from anywhere (standard library only):

    python3 data/icons/make_icons.py

It rewrites every SVG below this folder and icons.qrc. Change the art here,
never in the SVG files, so that the whole set keeps one palette and one look.

Drawing rules, so that the pictures stay crisp at 16 px:
- Small pictures use a 16 by 16 (or 24 by 24) grid. Filled areas start and end
  on whole pixels; 1 px outlines run on half-pixel positions, inside the area
  they belong to (see box()).
- Composite shapes (a key, a wrench, a lightbulb) get one common outline with
  outlined(): every part is stroked 2 px wide first and then filled, so the
  outline is the 1 px just outside the union of the parts.
- One outline weight (1 px at the picture's native size), flat fills.
"""

import math
import re
from pathlib import Path

HERE = Path(__file__).resolve().parent

# One palette for everything (the Tango colours).
C = {
    'butter1': '#fce94f', 'butter2': '#edd400', 'butter3': '#c4a000',
    'orange1': '#fcaf3e', 'orange2': '#f57900', 'orange3': '#ce5c00',
    'choc1': '#e9b96e', 'choc2': '#c17d11', 'choc3': '#8f5902',
    'green1': '#8ae234', 'green2': '#73d216', 'green3': '#4e9a06',
    'sky1': '#729fcf', 'sky2': '#3465a4', 'sky3': '#204a87',
    'plum1': '#ad7fa8', 'plum2': '#75507b', 'plum3': '#5c3566',
    'red1': '#ef2929', 'red2': '#cc0000', 'red3': '#a40000',
    'alu0': '#ffffff', 'alu1': '#eeeeec', 'alu2': '#d3d7cf', 'alu3': '#babdb6',
    'alu4': '#888a85', 'alu5': '#555753', 'alu6': '#2e3436',
}

# Colour families: light fill, main fill, outline.
FAMILY = {
    'butter': ('butter1', 'butter2', 'butter3'),
    'orange': ('orange1', 'orange2', 'orange3'),
    'choc': ('choc1', 'choc2', 'choc3'),
    'green': ('green1', 'green2', 'green3'),
    'sky': ('sky1', 'sky2', 'sky3'),
    'plum': ('plum1', 'plum2', 'plum3'),
    'red': ('red1', 'red2', 'red3'),
}

PAGE_FILL = C['alu0']
PAGE_LINE = C['alu4']      # outline of pages and paper
TEXT_LINE = C['alu3']      # the grey "text" lines on pages
DARK = C['alu6']


def col(name):
    return C.get(name, name)


# --------------------------------------------------------------------------
# SVG writing helpers


def num(v):
    if isinstance(v, str):
        return v
    s = f'{v:.3f}'.rstrip('0').rstrip('.')
    return '0' if s in ('-0', '') else s


def tag(name, attrs):
    parts = []
    for k, v in attrs.items():
        if v is None:
            continue
        k = k.rstrip('_').replace('_', '-')
        if not isinstance(v, str):
            v = num(v)
        parts.append(f'{k}="{v}"')
    return f'<{name} {" ".join(parts)}/>'


def paint(fill=None, stroke=None, sw=1.0, **extra):
    a = {'fill': col(fill) if fill else 'none'}
    if stroke:
        a['stroke'] = col(stroke)
        if sw != 1:
            a['stroke_width'] = sw
    a.update(extra)
    return a


def box(x0, y0, x1, y1, fill=None, stroke=None, rx=None):
    """The pixels x0..x1-1, y0..y1-1; a stroke is the 1 px inside edge."""
    if stroke:
        a = {'x': x0 + .5, 'y': y0 + .5, 'width': x1 - x0 - 1, 'height': y1 - y0 - 1}
    else:
        a = {'x': x0, 'y': y0, 'width': x1 - x0, 'height': y1 - y0}
    if rx:
        a['rx'] = rx
    a.update(paint(fill, stroke))
    return tag('rect', a)


def px(x, y, w=1, h=1, fill=DARK):
    return tag('rect', {'x': x, 'y': y, 'width': w, 'height': h, 'fill': col(fill)})


def path(d, fill=None, stroke=None, sw=1.0, **extra):
    a = {'d': d}
    a.update(paint(fill, stroke, sw, **extra))
    return tag('path', a)


def circle(cx, cy, r, fill=None, stroke=None, sw=1.0):
    a = {'cx': cx, 'cy': cy, 'r': r}
    a.update(paint(fill, stroke, sw))
    return tag('circle', a)


def line(d, stroke, sw=1.0, cap='butt', join='miter'):
    return path(d, None, stroke, sw, stroke_linecap=cap if cap != 'butt' else None,
                stroke_linejoin=join if join != 'miter' else None)


def group(items, transform=None, opacity=None):
    a = {}
    if transform:
        a['transform'] = transform
    if opacity is not None:
        a['opacity'] = opacity
    head = tag('g', a)[:-2] + '>' if a else '<g>'
    return head + ''.join(items) + '</g>'


def circle_d(cx, cy, r):
    """A circle as path data (for even-odd holes and unions)."""
    return (f'M{num(cx - r)},{num(cy)}a{num(r)},{num(r)} 0 1 0 {num(2 * r)},0'
            f'a{num(r)},{num(r)} 0 1 0 {num(-2 * r)},0z')


def rect_d(x0, y0, x1, y1):
    return f'M{num(x0)},{num(y0)}H{num(x1)}V{num(y1)}H{num(x0)}z'


def poly_d(points, close=True):
    d = 'M' + ' L'.join(f'{num(x)},{num(y)}' for x, y in points)
    return d + ('z' if close else '')


def outlined(ds, fill, stroke, join='miter', sw=2.0, rule=None):
    """Union of the shapes in ds with a 1 px (sw/2) outline just outside it."""
    out = [path(d, None, stroke, sw, stroke_linejoin=join if join != 'miter' else None,
                fill_rule=rule) for d in ds]
    out += [path(d, fill, fill_rule=rule) for d in ds]
    return ''.join(out)


def bitmap(x0, y0, rows, fill):
    """A small pixel glyph: '#' marks a filled pixel. Runs become one path."""
    d = []
    for j, row in enumerate(rows):
        i = 0
        while i < len(row):
            if row[i] == '#':
                k = i
                while k < len(row) and row[k] == '#':
                    k += 1
                d.append(rect_d(x0 + i, y0 + j, x0 + k, y0 + j + 1))
                i = k
            else:
                i += 1
    return path(''.join(d), fill)


def svg(w, h, body, vw=None, vh=None):
    vw = vw or w
    vh = vh or h
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
            f'viewBox="0 0 {vw} {vh}">\n' + body + '\n</svg>\n')


# --------------------------------------------------------------------------
# Glyphs

GLYPH_QUESTION = [
    '.####.',
    '##..##',
    '....##',
    '...##.',
    '..##..',
    '..##..',
    '......',
    '..##..',
    '..##..',
]
GLYPH_QUESTION_BADGE = [
    '###.',
    '...#',
    '..#.',
    '.#..',
    '....',
    '.#..',
]


# --------------------------------------------------------------------------
# Building blocks (16 px grid)


def page(x0=2, y0=0, x1=14, y1=16, fold=4, fill=PAGE_FILL, stroke=PAGE_LINE):
    """A sheet of paper with a folded top-right corner."""
    l, t, r, b = x0 + .5, y0 + .5, x1 - .5, y1 - .5
    body = path(f'M{num(l)},{num(t)}H{num(r - fold)}L{num(r)},{num(t + fold)}'
                f'V{num(b)}H{num(l)}z', fill, stroke)
    ear = path(f'M{num(r - fold)},{num(t)}V{num(t + fold)}H{num(r)}z', C['alu2'], stroke,
               stroke_linejoin='round')
    return body + ear


def text_lines(x0, ys, lengths, fill=TEXT_LINE):
    return ''.join(px(x0, y, n, 1, fill) for y, n in zip(ys, lengths))


def doc(lines=True, x0=2, x1=14):
    out = page(x0, 0, x1, 16)
    if lines:
        out += text_lines(x0 + 2, [5, 7, 9, 11, 13], [8, 7, 8, 5, 8])
    return out


def badge(cx, cy, r, family, glyph_rows=None, gx=0, gy=0, glyph_fill='#ffffff'):
    light, mid, dark = FAMILY[family]
    out = circle(cx, cy, r, mid, dark)
    if glyph_rows:
        out += bitmap(gx, gy, glyph_rows, glyph_fill)
    return out


def plus_badge(x=8, y=8):
    """A green plus sign in the 8 by 8 square at (x, y) (lower right)."""
    d = (f'M{x + 3},{y}h2v3h3v2h-3v3h-2v-3h-3v-2h3z')
    return outlined([d], C['green2'], C['green3'], sw=2)


def x_mark(cx, cy, arm, width, fill, stroke):
    """A diagonal cross (delete, error); arm is the half length of a bar."""
    a, w = arm, width / 2
    d = (f'M{num(cx)},{num(cy - w * 1.4142)}L{num(cx + a - w)},{num(cy - a - w)}'
         f'L{num(cx + a + w)},{num(cy - a + w)}L{num(cx + w * 1.4142)},{num(cy)}'
         f'L{num(cx + a + w)},{num(cy + a - w)}L{num(cx + a - w)},{num(cy + a + w)}'
         f'L{num(cx)},{num(cy + w * 1.4142)}L{num(cx - a + w)},{num(cy + a + w)}'
         f'L{num(cx - a - w)},{num(cy + a - w)}L{num(cx - w * 1.4142)},{num(cy)}'
         f'L{num(cx - a - w)},{num(cy - a + w)}L{num(cx - a + w)},{num(cy - a - w)}z')
    if stroke:
        return outlined([d], fill, stroke, sw=2)
    return path(d, fill)


def arrow_d(direction, x0=1, y0=1, size=14, shaft=4):
    """A block arrow pointing 'right', 'left', 'up' or 'down' in the square."""
    s = size
    h = s / 2
    hs = shaft / 2
    head = round(s * 0.5)
    pts = [(0, h - hs), (s - head, h - hs), (s - head, 0), (s, h), (s - head, s),
           (s - head, h + hs), (0, h + hs)]
    out = []
    for x, y in pts:
        if direction == 'right':
            p = (x, y)
        elif direction == 'left':
            p = (s - x, y)
        elif direction == 'down':
            p = (y, x)
        else:
            p = (y, s - x)
        out.append((x0 + p[0], y0 + p[1]))
    return poly_d(out)


def block_arrow(direction, family='sky', **kw):
    light, mid, dark = FAMILY[family]
    return outlined([arrow_d(direction, **kw)], C[mid], C[dark])


def book_closed(x0=1, y0=0, x1=13, y1=14, family='sky', depth=2):
    """A closed book seen from the front, its pages showing right and below."""
    light, mid, dark = FAMILY[family]
    out = box(x0 + depth, y0 + depth, x1 + depth, y1 + depth, PAGE_FILL, PAGE_LINE)
    out += box(x0, y0, x1, y1, C[mid], C[dark])
    out += px(x0 + 1, y0 + 1, 2, y1 - y0 - 2, C[dark])
    return out


def folder_back(family, x0=0, x1=16, y1=14):
    light, mid, dark = FAMILY[family]
    return path(f'M{x0 + .5},{y1 - .5}V2.5H{x0 + 5.5}L{x0 + 6.5},3.5H{x1 - .5}V{y1 - .5}z',
                C[mid], C[dark], stroke_linejoin='round')


def folder_closed(family, paper=False):
    light, mid, dark = FAMILY[family]
    out = folder_back(family)
    if paper:
        out += box(3, 1, 13, 8, PAGE_FILL, PAGE_LINE) + px(5, 3, 6, 1, TEXT_LINE)
    out += box(0, 5, 16, 14, C[light], C[dark])
    out += px(1, 6, 14, 1, C['alu0'])
    return out


def folder_open(family, paper=False):
    light, mid, dark = FAMILY[family]
    out = folder_back(family)
    if paper:
        out += box(3, 1, 13, 12, PAGE_FILL, PAGE_LINE)
        out += text_lines(5, [3, 5, 7], [6, 5, 6])
    else:
        out += box(2, 5, 14, 12, PAGE_FILL, PAGE_LINE)
    out += path('M3.5,8.5H15.5L13.5,13.5H0.5z', C[light], C[dark], stroke_linejoin='round')
    return out


# --------------------------------------------------------------------------
# Pictures shared with the compile results


def warning_sign():
    out = path('M8,1L15.5,14.5H0.5z', C['butter1'], C['butter3'], stroke_linejoin='round')
    out += px(7, 5, 2, 5, DARK) + px(7, 11, 2, 2, DARK)
    return out


def error_sign():
    out = circle(8, 8, 7, C['red2'], C['red3'])
    out += x_mark(8, 8, 3, 2, '#ffffff', None)
    return out


def picture_frame():
    out = box(0, 2, 16, 14, C['sky1'], C['alu5'])
    out += px(1, 3, 14, 6, '#9fc3e9')
    out += circle(11.5, 6.5, 1.5, C['butter1'], C['butter3'])
    out += path('M1,13V10L5,6L9,10L11,8L15,12V13z', C['green2'])
    out += path('M1,10L5,6L9,10L11,8L15,12', None, C['green3'])
    out += box(0, 2, 16, 14, None, C['alu5'])
    return out


def globe(cx, cy, r, sw=1.0):
    land = ('M5.5,3.5C6.5,2.6 8.5,2.4 9.6,3.3L9,5L10.2,6.4L9.3,8.4L7.6,8.2L6.6,9.6'
            'L7.3,11.8L6.1,13.2L5,11.4L4.7,9.2L3.3,8L3.4,6L5,5.2z'
            'M11.2,8.6L12.8,8L13.6,9.6L12.6,12L11.3,11.4z'
            'M11.3,3.6L12.8,4.6L11.7,5.5z')
    scale = r / 6.5
    t = f'translate({num(cx - 8 * scale)},{num(cy - 8 * scale)}) scale({num(scale)})'
    out = circle(cx, cy, r, C['sky1'], C['sky3'], sw)
    out += group([path(land, C['green2'])], t)
    out += circle(cx, cy, r, None, C['sky3'], sw)
    return out


def wrench_d():
    # Along the x axis, head on the right with the jaw opening to the right.
    return ('M-6.3,-1.5H0.79A4,4 0 0 1 8.21,-1.5H5V1.5H8.21A4,4 0 0 1 0.79,1.5H-6.3'
            'A1.5,1.5 0 0 1 -6.3,-1.5z')


def star_d(cx, cy, ro, ri, points=5, start=-90):
    pts = []
    for i in range(points * 2):
        a = math.radians(start + i * 180 / points)
        r = ro if i % 2 == 0 else ri
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return poly_d(pts)


def chain(transform, colour, small=False):
    """Two chain links along the x axis; rotate them with transform."""
    if small:
        l1 = 'M-4.5,-2H-1A2,2 0 0 1 -1,2H-4.5A2,2 0 0 1 -4.5,-2z'
        l2 = 'M1,-2H4.5A2,2 0 0 1 4.5,2H1A2,2 0 0 1 1,-2z'
        bar = None
    else:
        l1 = 'M-5.5,-2.5H-1A2.5,2.5 0 0 1 -1,2.5H-5.5A2.5,2.5 0 0 1 -5.5,-2.5z'
        l2 = 'M1,-2.5H5.5A2.5,2.5 0 0 1 5.5,2.5H1A2.5,2.5 0 0 1 1,-2.5z'
        bar = 'M-3,0H3'
    items = [path(l1, None, colour, 2), path(l2, None, colour, 2)]
    if bar:
        items.append(path(bar, None, colour, 2, stroke_linecap='round'))
    return group(items, transform)


def gear_d(cx, cy, ro, ri, teeth, hole):
    pts = []
    n = teeth * 4
    for i in range(n):
        a = 2 * math.pi * (i - 0.5) / n
        r = ro if (i % 4) in (0, 1) else ri
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return poly_d(pts) + circle_d(cx, cy, hole)


def pencil(t):
    body = [path('M-4.5,-1.5H4.5V1.5H-4.5z', C['butter2'], C['orange3']),
            path('M4.5,-1.5L7.5,0L4.5,1.5z', C['choc1'], C['orange3'], stroke_linejoin='round'),
            path('M6.5,-0.5L7.5,0L6.5,0.5z', DARK),
            path('M-6.5,-1.5H-4.5V1.5H-6.5z', C['alu3'], C['alu5'])]
    return group(body, t)


# --------------------------------------------------------------------------
# Contents pictures 0 to 42
#
# Numbers 0 to 41 name the help viewer's own contents images (the contents
# file holds the number plus one), so each picture shows the subject the
# viewer shows for its number: books, folders and pages, each in a plain
# and a "new" form marked with a star. 0 to 7 come in closed and open pairs
# (an expanded heading shows the odd one); from 8 on, every odd number is
# the even one with the star. 42 is the program's own emblem.


def new_star():
    """The "new" mark: a red star in the top left corner, cut free by a halo."""
    d = star_d(4, 4.2, 3.9, 1.7)
    return (path(d, None, '#ffffff', 2.5, stroke_linejoin='round')
            + path(d, C['red1'], C['red3'], stroke_linejoin='round'))


def back_page():
    """The sheet behind a topic's subject, its text showing on the right."""
    return page(5, 0, 16, 14, fold=3) + text_lines(12, [5, 7, 9], [2, 2, 2])


def book_shut():
    out = book_closed(1, 1, 13, 14, 'plum')
    out += px(6, 5, 5, 1, C['plum1']) + px(6, 7, 4, 1, C['plum1'])
    return out


def book_open(x0=0, y0=2, x1=16, y1=16, family='plum'):
    """An open book seen from above: two pages on the cover, the spine between."""
    light, mid, dark = FAMILY[family]
    mx = (x0 + x1) // 2
    out = box(x0, y0 + 2, x1, y1, C[mid], C[dark])
    out += box(x0 + 1, y0, mx, y1 - 2, PAGE_FILL, PAGE_LINE)
    out += box(mx, y0, x1 - 1, y1 - 2, PAGE_FILL, PAGE_LINE)
    return out


def book_open_lines():
    out = book_open()
    out += text_lines(3, [5, 7, 9, 11], [4, 3, 4, 4])
    out += text_lines(10, [5, 7, 9, 11], [3, 4, 4, 2])
    return out


def folder_shut():
    return folder_closed('butter')


def folder_opened():
    return folder_open('butter')


def page_question():
    return page() + bitmap(5, 4, GLYPH_QUESTION, C['sky2'])


def page_text():
    return doc()


def web_page():
    """A page on the web: the world in front of a page of text."""
    return back_page() + globe(5.5, 10.5, 5.5)


def web_site():
    """A site on the internet: the world in front of a browser window."""
    out = box(3, 0, 16, 12, PAGE_FILL, C['alu5'])
    out += px(4, 1, 11, 2, C['sky2'])
    out += px(13, 1, 1, 1, '#ffffff')
    out += text_lines(12, [5, 7, 9], [2, 2, 2])
    out += globe(5.5, 10.5, 5.5)
    return out


def info_page():
    out = page()
    out += px(7, 3, 2, 2, C['sky2'])
    out += px(6, 6, 3, 1, C['sky2']) + px(7, 7, 2, 5, C['sky2']) + px(6, 12, 4, 1, C['sky2'])
    return out


def jump_page():
    """A shortcut to another topic: a bent arrow leaving the page."""
    d = 'M1,15V10.5A4.5,4.5 0 0 1 5.5,6H8V3L13,7.5L8,12V9H5.5A1.5,1.5 0 0 0 4,10.5V15z'
    return back_page() + outlined([d], C['green2'], C['green3'], join='round')


def book_page():
    out = back_page()
    out += book_open(0, 7, 12, 16, 'plum')
    out += text_lines(2, [9, 11], [3, 3]) + text_lines(7, [9, 11], [3, 2])
    return out


def mail_open():
    """An opened envelope with a letter half out of it."""
    out = back_page()
    out += box(3, 4, 11, 12, PAGE_FILL, PAGE_LINE)
    out += text_lines(5, [6, 8], [4, 3], C['sky2'])
    out += path('M0.5,9.5L6.5,13.5L12.5,9.5V15.5H0.5z', C['alu1'], C['alu5'],
                stroke_linejoin='round')
    out += path('M0.5,15.5L5,11.8M12.5,15.5L8,11.8', None, C['alu4'])
    return out


def mail_closed():
    out = back_page()
    out += box(0, 7, 13, 16, PAGE_FILL, C['alu5'])
    out += path('M0.5,7.5L6.5,12.5L12.5,7.5', None, C['alu5'], stroke_linejoin='round')
    return out


def person():
    out = back_page()
    out += outlined(['M1,15V13C1,11 3,9.5 5.5,9.5C8,9.5 10,11 10,13V15z'],
                    C['sky2'], C['sky3'], join='round')
    out += outlined([circle_d(5.5, 6, 2.5)], C['choc1'], C['choc3'])
    return out


def sound():
    out = back_page()
    out += outlined(['M1,9H3L6,6.5V15.5L3,13H1z'], C['alu4'], C['alu6'], join='round')
    out += path('M8.5,9.5A2.5,2.5 0 0 1 8.5,12.5', None, C['sky2'], 1.5, stroke_linecap='round')
    out += path('M10.2,7.5A5,5 0 0 1 10.2,14.5', None, C['sky2'], 1.5, stroke_linecap='round')
    return out


def disc():
    out = back_page()
    out += circle(6, 10, 5.5, C['alu1'], C['alu5'])
    out += path('M6,4.5A5.5,5.5 0 0 1 11.5,10H8A2,2 0 0 0 6,8z', C['sky1'])
    out += path('M6,15.5A5.5,5.5 0 0 1 0.5,10H4A2,2 0 0 0 6,12z', C['butter1'])
    out += circle(6, 10, 5.5, None, C['alu5'])
    out += circle(6, 10, 1.5, '#ffffff', C['alu5'])
    return out


def video():
    """A film camera: the body, a lens to the right and two reels on top."""
    out = back_page()
    out += circle(3.5, 7.5, 2, C['alu4'], C['alu6'])
    out += circle(8, 7.5, 2, C['alu4'], C['alu6'])
    out += box(0, 9, 11, 16, C['alu5'], C['alu6'])
    out += path('M10.5,11.5L14.5,9.5V15.5L10.5,13.5z', C['alu4'], C['alu6'],
                stroke_linejoin='round')
    out += px(2, 11, 2, 1, C['red1'])
    return out


def list_page():
    """A numbered list: "1" and "2" each with its line of text."""
    out = page()
    out += bitmap(4, 3, ['.#', '##', '.#', '.#', '.#'], C['sky2'])
    out += bitmap(4, 10, ['##.', '..#', '.#.', '#..', '###'], C['sky2'])
    out += px(8, 5, 3, 1, TEXT_LINE) + px(8, 12, 3, 1, TEXT_LINE)
    out += px(8, 7, 1, 1, C['sky2']) + px(8, 14, 1, 1, C['sky2'])
    return out


def idea():
    out = back_page()
    bulb = 'M5.5,3.5A4.5,4.5 0 0 1 8.5,11.3V12H2.5V11.3A4.5,4.5 0 0 1 5.5,3.5z'
    out += outlined([bulb], C['butter1'], C['butter3'], join='round')
    out += path('M3.8,6.8A2,2 0 0 1 5.3,5.5', None, '#ffffff', 1, stroke_linecap='round')
    out += box(3, 12, 9, 16, C['alu3'], C['alu5'])
    out += px(4, 14, 4, 1, C['alu5'])
    return out


def note():
    """Something to write down: a sheet and the pen writing on it."""
    out = back_page()
    out += box(0, 7, 12, 16, PAGE_FILL, PAGE_LINE)
    out += text_lines(2, [10, 12, 14], [6, 5, 3])
    out += pencil('translate(9,9.5) rotate(-45)')
    return out


def tool():
    out = back_page()
    t = 'translate(6,10) rotate(-45)'
    return out + group([outlined([wrench_d()], C['alu3'], C['alu5'], join='round', sw=2)],
                       f'{t} scale(0.85)')


def with_star(draw):
    return lambda: draw() + new_star()


# Each subject in its plain and its "new" form, in the viewer's order.
CONTENTS = [
    book_shut, book_open_lines, with_star(book_shut), with_star(book_open_lines),
    folder_shut, folder_opened, with_star(folder_shut), with_star(folder_opened),
]
for _subject in (page_question, page_text, web_page, web_site, info_page, jump_page,
                 book_page, mail_open, mail_closed, person, sound, disc, video, list_page,
                 idea, note, tool):
    CONTENTS += [_subject, with_star(_subject)]
assert len(CONTENTS) == 42


def emblem16():
    """The program's own picture at 16 px: two help books and a blue '?'."""
    out = book_closed(4, 0, 14, 11, 'red', depth=1)
    out += book_closed(0, 3, 10, 14, 'orange', depth=2)
    out += px(4, 6, 4, 1, C['orange1']) + px(4, 8, 3, 1, C['orange1'])
    out += circle(11.5, 11.5, 4, C['sky2'], C['sky3'])
    out += bitmap(10, 9, GLYPH_QUESTION_BADGE, '#ffffff')
    return out


CONTENTS.append(emblem16)


# --------------------------------------------------------------------------
# Main tool bar


def t_new():
    out = page(2, 0, 14, 16)
    out += text_lines(4, [7, 9, 11, 13], [8, 7, 8, 6])
    out += path(star_d(11.5, 4, 4.2, 1.8, 6, -90), C['butter1'], C['orange3'],
                stroke_linejoin='round')
    return out


def t_open():
    return folder_open('butter')


def t_save():
    out = path('M0.5,0.5H13.5L15.5,2.5V15.5H0.5z', C['sky2'], C['sky3'], stroke_linejoin='round')
    out += box(3, 1, 13, 7, PAGE_FILL, C['sky3'])
    out += text_lines(5, [3], [6])
    out += box(4, 10, 12, 16, C['alu2'], C['alu5'])
    out += px(6, 11, 2, 3, C['alu5'])
    return out


def t_compile():
    out = book_closed(0, 0, 11, 13, 'sky')
    out += px(5, 3, 4, 1, C['sky1']) + px(5, 5, 3, 1, C['sky1'])
    out += path(gear_d(11.5, 11.5, 4.3, 3.1, 6, 1.2), C['orange1'], C['orange3'],
                fill_rule='evenodd', stroke_linejoin='round')
    return out


def t_wizard():
    out = path('M2,14L10,6', None, DARK, 3, stroke_linecap='round')
    out += path('M8.6,7.4L10.2,5.8', None, '#ffffff', 1.4, stroke_linecap='round')
    out += path(star_d(12, 4, 3.6, 1.3, 4, -90), C['butter1'], C['orange3'],
                stroke_linejoin='round')
    out += path(star_d(4.5, 3.5, 2.4, 0.8, 4, -90), C['butter1'], C['orange3'],
                stroke_linejoin='round')
    out += path(star_d(13, 11.5, 2.2, 0.8, 4, -90), C['butter1'], C['orange3'],
                stroke_linejoin='round')
    return out


def t_projectprops():
    out = box(0, 1, 16, 15, PAGE_FILL, C['alu5'])
    out += px(1, 2, 14, 3, C['sky2'])
    out += box(2, 6, 7, 11, PAGE_FILL, C['alu5'])
    out += bitmap(3, 7, ['..#', '#.#', '.#.'], C['green3'])
    out += px(8, 7, 6, 1, TEXT_LINE) + px(8, 9, 4, 1, TEXT_LINE)
    out += px(2, 12, 11, 1, TEXT_LINE)
    return out


def t_about():
    out = circle(8, 8, 7, C['sky2'], C['sky3'])
    out += px(7, 3, 2, 2, '#ffffff') + px(7, 6, 2, 6, '#ffffff')
    out += px(6, 6, 1, 1, '#ffffff') + px(6, 11, 4, 1, '#ffffff')
    return out


TOOLBAR = {'new': t_new, 'open': t_open, 'save': t_save, 'compile': t_compile,
           'wizard': t_wizard, 'projectprops': t_projectprops, 'about': t_about}


# --------------------------------------------------------------------------
# Smaller tool bars


def tag_d():
    return 'M0.5,4.5L4.5,0.5H11.5V8.5H4.5z'


def a_addtopic():
    return page(1, 0, 12, 14) + text_lines(3, [5, 7, 9], [6, 5, 6]) + plus_badge()


def a_addheader():
    out = book_closed(1, 0, 11, 12, 'sky')
    out += px(5, 3, 4, 1, C['sky1'])
    return out + plus_badge()


def keyword_tag(x=1, y=2, w=11, h=7):
    d = f'M{x},{y + h / 2}L{x + 3.5},{y}H{x + w}V{y + h}H{x + 3.5}z'
    out = outlined([d], C['butter1'], C['butter3'], join='round')
    out += circle(x + 3, y + h / 2, 1, None, C['butter3'])
    out += px(x + 6, y + 2, w - 7, 1, C['butter3']) + px(x + 6, y + 4, w - 8, 1, C['butter3'])
    return out


def a_addkeyword():
    return keyword_tag(1, 2, 12, 7) + plus_badge()


def a_left():
    return block_arrow('left', 'sky')


def a_right():
    return block_arrow('right', 'sky')


def a_up():
    return block_arrow('up', 'sky')


def a_down():
    return block_arrow('down', 'sky')


def a_aschild():
    out = box(0, 0, 11, 5, C['sky1'], C['sky3'])
    out += px(3, 5, 1, 7, C['alu5']) + px(3, 11, 4, 1, C['alu5'])
    out += bitmap(7, 9, ['#..', '##.', '###', '##.', '#..'], C['alu5'])
    out += box(10, 9, 16, 14, C['green1'], C['green3'])
    return out


def a_delete():
    return x_mark(8, 8, 4.5, 3, C['red1'], C['red3'])


def a_edit():
    out = page(1, 0, 13, 16) + text_lines(3, [5, 7, 9, 11], [8, 7, 5, 4])
    out += pencil('translate(10,10) rotate(-45)')
    return out


def round_button(family, direction):
    light, mid, dark = FAMILY[family]
    out = circle(8, 8, 7, C[mid], C[dark])
    if direction == 'right':
        out += line('M6.5,4.5L10,8L6.5,11.5', '#ffffff', 2)
    else:
        out += line('M9.5,4.5L6,8L9.5,11.5', '#ffffff', 2)
    return out


def a_prevtopic():
    return round_button('green', 'left')


def a_nexttopic():
    return round_button('green', 'right')


def a_refresh():
    arc = 'M12.5,8A4.5,4.5 0 1 1 9.8,3.9'
    out = path(arc, None, C['green3'], 3.4)
    out += path(arc, None, C['green2'], 1.4)
    out += outlined(['M8,1.5L12.5,3.2L9.4,6.6z'], C['green2'], C['green3'], join='round',
                    sw=1.6)
    return out


def a_keywordfromselection():
    out = box(0, 0, 16, 10, PAGE_FILL, PAGE_LINE)
    out += px(2, 2, 4, 1, TEXT_LINE)
    out += px(7, 1, 7, 3, C['sky2']) + px(8, 2, 5, 1, '#ffffff')
    out += px(2, 6, 10, 1, TEXT_LINE)
    out += keyword_tag(4, 8, 11, 7)
    return out


def a_editkeyword():
    return keyword_tag(1, 1, 13, 7) + pencil('translate(10,11) rotate(-45)')


def list_rows(selected=None):
    out = box(0, 0, 14, 16, PAGE_FILL, PAGE_LINE)
    for i, y in enumerate((2, 6, 10)):
        if i == selected:
            out += px(1, y - 1, 12, 3, C['sky2'])
            out += px(2, y, 8, 1, '#ffffff')
        else:
            out += px(2, y, 8, 1, C['alu4'])
    return out


def a_deleteall():
    out = list_rows()
    out += x_mark(11, 11, 3, 2.4, C['red1'], C['red3'])
    return out


def a_deleteselected():
    out = list_rows(selected=1)
    out += x_mark(12, 12, 2.5, 2, C['red1'], C['red3'])
    return out


def a_sort():
    out = bitmap(1, 1, ['.##.', '#..#', '####', '#..#', '#..#'], C['sky2'])
    out += bitmap(1, 10, ['####', '..#.', '.#..', '#...', '####'], C['sky2'])
    out += outlined(['M10,1H12V10H14L11,14L8,10H10z'], C['green2'], C['green3'], sw=1.6)
    return out


ACTIONS = {
    'addtopic': a_addtopic, 'addheader': a_addheader, 'addkeyword': a_addkeyword,
    'left': a_left, 'right': a_right, 'up': a_up, 'down': a_down, 'aschild': a_aschild,
    'delete': a_delete, 'edit': a_edit, 'prevtopic': a_prevtopic, 'refresh': a_refresh,
    'nexttopic': a_nexttopic, 'keywordfromselection': a_keywordfromselection,
    'editkeyword': a_editkeyword, 'deleteall': a_deleteall,
    'deleteselected': a_deleteselected, 'sort': a_sort,
}


# --------------------------------------------------------------------------
# Compile results


def s_graphics():
    return picture_frame()


def s_errors():
    return error_sign()


def s_warnings():
    return warning_sign()


def s_locallinks():
    out = page(1, 0, 12, 14) + text_lines(3, [5, 7], [6, 5])
    return out + chain('translate(10.5,10.5) rotate(-45)', C['sky2'], small=True)


def s_internetlinks():
    out = globe(7, 7, 6.5)
    return out + chain('translate(10.5,10.5) rotate(-45)', C['orange3'], small=True)


def s_topics():
    out = page(4, 0, 15, 12, fold=3)
    out += page(1, 3, 12, 16, fold=3) + text_lines(3, [8, 10, 12], [6, 5, 6])
    return out


SUMMARY = [s_graphics, s_errors, s_warnings, s_locallinks, s_internetlinks, s_topics]


# 24 px buttons of the compile results window


def b_viewchm():
    out = book_closed(2, 1, 16, 20, 'orange', depth=2)
    out += px(6, 5, 7, 2, C['orange1']) + px(6, 8, 5, 2, C['orange1'])
    out += circle(17, 17, 6.5, C['sky2'], C['sky3'])
    out += bitmap(14, 13, ['.####.', '##..##', '....##', '...##.', '..##..', '......',
                           '..##..'], '#ffffff')
    return out


def b_viewlog():
    out = page(3, 1, 18, 22, fold=5)
    out += text_lines(6, [7, 9, 11, 13, 15, 17], [9, 8, 10, 6, 9, 7])
    out += path('M17.5,17.5L21.5,21.5', None, C['alu6'], 3, stroke_linecap='round')
    out += circle(15, 15, 4.5, C['sky1'], C['alu5'], 1.5)
    return out


def b_close():
    return x_mark(12, 12, 6.5, 3.5, C['red1'], C['red3'])


def b_stop():
    # the octagon of a stop sign with a white bar
    d = 'M8,2.5L16,2.5L21.5,8L21.5,16L16,21.5L8,21.5L2.5,16L2.5,8z'
    return path(d, C['red2'], C['red3'], 1.5, stroke_linejoin='round') + px(7, 10.5, 10, 3, '#ffffff')


COMPILE = {'viewchm': b_viewchm, 'viewlog': b_viewlog, 'stop': b_stop, 'close': b_close}


# --------------------------------------------------------------------------
# Grey tool bar: the coloured drawings with every colour turned to its grey.


def to_grey(text):
    def repl(m):
        h = m.group(1)
        if len(h) == 3:
            h = ''.join(ch * 2 for ch in h)
        r, g, b = (int(h[i:i + 2], 16) for i in (0, 2, 4))
        y = 0.299 * r + 0.587 * g + 0.114 * b
        # a little lighter and flatter than the plain luminance, like a
        # disabled or inactive tool bar
        y = 60 + y * 0.75
        v = max(0, min(255, round(y)))
        return f'#{v:02x}{v:02x}{v:02x}'
    return re.sub(r'#([0-9a-fA-F]{6}|[0-9a-fA-F]{3})\b', repl, text)


# --------------------------------------------------------------------------
# Program icon and start-up picture


def emblem64():
    """The emblem on a 64 grid: outer edges on 4 px steps, 2 px outlines."""
    s = []
    o = 1  # half of the outline width

    def bx(x0, y0, x1, y1, fill, stroke, rx=0):
        a = {'x': x0 + o, 'y': y0 + o, 'width': x1 - x0 - 2 * o, 'height': y1 - y0 - 2 * o,
             'rx': rx or None}
        a.update(paint(fill, stroke, 2))
        return tag('rect', a)

    # back book (red), its pages showing at the right and below
    s.append(bx(20, 4, 60, 48, PAGE_FILL, PAGE_LINE, 2))
    s.append(px(22, 42, 36, 4, C['alu2']))
    s.append(bx(16, 0, 56, 44, C['red2'], C['red3'], 2))
    s.append(px(18, 2, 6, 40, C['red3']))
    # front book (orange)
    s.append(bx(8, 20, 48, 64, PAGE_FILL, PAGE_LINE, 2))
    s.append(px(10, 58, 36, 4, C['alu2']))
    s.append(bx(0, 12, 40, 56, C['orange2'], C['orange3'], 2))
    s.append(px(2, 14, 6, 40, C['orange3']))
    s.append(px(12, 24, 20, 4, C['orange1']) + px(12, 32, 12, 4, C['orange1']))
    # the "?" badge
    s.append(circle(46, 46, 16, C['sky2'], C['sky3'], 2))
    s.append(path('M40.5,40A5.5,5.5 0 1 1 49.2,44.5C47.2,46 46,47 46,50.5', None,
                  '#ffffff', 5, stroke_linecap='round', stroke_linejoin='round'))
    s.append(circle(46, 57, 3, '#ffffff'))
    return ''.join(s)


# A small stroke alphabet for the name on the start-up picture. Each letter is
# drawn with round-capped strokes in a box 28 units high (capital height); the
# second value is the advance width.
LETTERS = {
    'H': ('M0,0V28M20,0V28M0,14H20', 20),
    'T': ('M0,0H20M10,0V28', 20),
    'M': ('M0,28V0L12,18L24,0V28', 24),
    'L': ('M0,0V28H16', 16),
    'D': ('M0,0H8A14,14 0 0 1 8,28H0z', 22),
    'o': ('M0,19A9,9 0 1 0 18,19A9,9 0 1 0 0,19z', 18),
    'x': ('M0,10L16,28M16,10L0,28', 16),
    'e': ('M0.5,19H18A9,9 0 1 0 15.4,25.4', 18),
    'l': ('M0,-1V28', 0),
}


def stroke_text(text, x, y, size, color, width, spacing=7, space=12):
    """Draws text with LETTERS; size is the capital height in px."""
    k = size / 28
    items = []
    cx = 0
    for ch in text:
        if ch == ' ':
            cx += space
            continue
        d, adv = LETTERS[ch]
        items.append(group([path(d, None, color, width / k, stroke_linecap='round',
                                 stroke_linejoin='round')],
                           f'translate({num(cx)},0)'))
        cx += adv + spacing
    return group(items, f'translate({num(x)},{num(y)}) scale({num(k)})'), (cx - spacing) * k


def app_icon():
    return emblem64()


def project_file64():
    """A project file for the file manager: a sheet carrying the emblem."""
    s = [path('M9,1H41L55,15V63H9z', PAGE_FILL, PAGE_LINE, 2, stroke_linejoin='round'),
         path('M41,1V15H55', C['alu2'], PAGE_LINE, 2, stroke_linejoin='round')]
    s += [px(16, y, w, 2, TEXT_LINE) for y, w in ((10, 18), (16, 16), (22, 30))]
    s.append(group([emblem64()], 'translate(17,29) scale(0.5)'))
    return ''.join(s)


def project_file16():
    out = page(2, 0, 14, 16) + text_lines(4, [3, 5], [5, 4])
    out += circle(10.5, 11.5, 4, C['sky2'], C['sky3'])
    out += bitmap(9, 9, GLYPH_QUESTION_BADGE, '#ffffff')
    return out


def splash():
    w, h = 252, 163
    out = [
        '<defs><linearGradient id="bg" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="#ffffff"/><stop offset="1" stop-color="#dce6f2"/>'
        '</linearGradient></defs>',
        tag('rect', {'x': 0, 'y': 0, 'width': w, 'height': h - 30, 'fill': 'url(#bg)'}),
        tag('rect', {'x': 0, 'y': h - 30, 'width': w, 'height': 30, 'fill': '#dce6f2'}),
        px(0, h - 31, w, 1, '#b8c9de'),
    ]
    out.append(group([emblem64()], 'translate(16,26) scale(1.25)'))
    t1, w1 = stroke_text('HTML', 118, 34, 22, C['alu5'], 4.2, spacing=6)
    t2, w2 = stroke_text('Doxel', 118, 72, 28, C['sky2'], 5, spacing=6)
    out += [t1, t2]
    out.append(tag('rect', {'x': 0.5, 'y': 0.5, 'width': w - 1, 'height': h - 1,
                            'fill': 'none', 'stroke': '#8aa4c4'}))
    return ''.join(out)


# --------------------------------------------------------------------------
# Writing the files


def write(rel, text, written):
    p = HERE / rel
    p.parent.mkdir(parents=True, exist_ok=True)
    p.write_text(text, encoding='utf-8')
    written.append(rel)


def main():
    written = []
    for i, f in enumerate(CONTENTS):
        write(f'contents/{i:02d}.svg', svg(16, 16, f()), written)
    for name, f in TOOLBAR.items():
        text = svg(16, 16, f())
        write(f'toolbar/color/{name}.svg', text, written)
        write(f'toolbar/grey/{name}.svg', to_grey(text), written)
    for name, f in ACTIONS.items():
        write(f'actions/{name}.svg', svg(16, 16, f()), written)
    for i, f in enumerate(SUMMARY):
        write(f'summary/{i}.svg', svg(16, 16, f()), written)
    for name, f in COMPILE.items():
        write(f'compile/{name}.svg', svg(24, 24, f()), written)
    write('app/html-doxel.svg', svg(64, 64, app_icon()), written)
    write('app/splash.svg', svg(252, 163, splash()), written)

    # For the desktop only (installed, not built into the program).
    desktop = []
    write('desktop/html-doxel-16.svg', svg(16, 16, emblem16()), desktop)
    write('desktop/application-x-htmldoxel-project.svg', svg(64, 64, project_file64()), desktop)
    write('desktop/application-x-htmldoxel-project-16.svg', svg(16, 16, project_file16()), desktop)

    qrc = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/icons">']
    qrc += [f'    <file alias="{rel}">{rel}</file>' for rel in sorted(written)]
    qrc += ['</qresource>', '</RCC>', '']
    (HERE / 'icons.qrc').write_text('\n'.join(qrc), encoding='utf-8')
    print(f'wrote {len(written)} pictures and icons.qrc')


if __name__ == '__main__':
    main()
