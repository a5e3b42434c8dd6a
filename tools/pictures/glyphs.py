# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the exercise-screen control pictures as SVG (run with a python3 that has fonttools).
from fontTools.ttLib import TTFont
from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.pens.boundsPen import BoundsPen
import re

FONTS = {
 'sans': '/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf',
 'comic': '/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf',
}
_cache = {}
def font(name):
    if name not in _cache:
        _cache[name] = TTFont(FONTS[name])
    return _cache[name]

def _fmt(d):
    return re.sub(r'-?\d+\.\d+', lambda m: ('%.2f' % float(m.group())).rstrip('0').rstrip('.'), d)

def layout(fname, text, size, tracking=0.0):
    f = font(fname); gs = f.getGlyphSet(); cmap = f.getBestCmap()
    upm = f['head'].unitsPerEm; s = size / upm
    x = 0.0; items = []
    for ch in text:
        g = cmap[ord(ch)]
        items.append((g, x))
        x += gs[g].width * s + tracking
    return items, x - tracking, s

def bounds(fname, text, size, tracking=0.0):
    f = font(fname); gs = f.getGlyphSet()
    items, adv, s = layout(fname, text, size, tracking)
    xs0=[];ys0=[];xs1=[];ys1=[]
    for g, x in items:
        bp = BoundsPen(gs); gs[g].draw(bp)
        if bp.bounds:
            a,b,c,d = bp.bounds
            xs0.append(x+a*s); xs1.append(x+c*s); ys0.append(-d*s); ys1.append(-b*s)
    return min(xs0), min(ys0), max(xs1), max(ys1), adv

def text_path(fname, text, size, ox, oy, tracking=0.0):
    """path data with baseline origin at (ox, oy)"""
    f = font(fname); gs = f.getGlyphSet()
    items, adv, s = layout(fname, text, size, tracking)
    out = []
    for g, x in items:
        sp = SVGPathPen(gs)
        tp = TransformPen(sp, (s, 0, 0, -s, ox + x, oy))
        gs[g].draw(tp)
        out.append(sp.getCommands())
    return _fmt(' '.join(out))

def centered(fname, text, size, cx, cy, mode='bbox', tracking=0.0):
    x0, y0, x1, y1, adv = bounds(fname, text, size, tracking)
    ox = cx - (x0 + x1) / 2
    if mode == 'bbox':
        oy = cy - (y0 + y1) / 2
    else:  # centre on cap height
        f = font(fname); upm = f['head'].unitsPerEm
        cap = getattr(f['OS/2'], 'sCapHeight', 0) or 0.7*upm
        oy = cy + cap * size / upm / 2
    return text_path(fname, text, size, ox, oy, tracking), (x0+ox, y0+oy, x1+ox, y1+oy)
