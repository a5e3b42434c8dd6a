# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the exercise-screen control pictures as SVG (run with a python3 that has fonttools).
import os, glyphs
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'assets', 'controls')
os.makedirs(OUT, exist_ok=True)

def svg(w, h, body):
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{w}" height="{h}" viewBox="0 0 {w} {h}">\n{body}</svg>\n')

def write(name, w, h, body):
    with open(os.path.join(OUT, name), 'w') as f:
        f.write(svg(w, h, body))

def bevel(w, h, edge, light, dark):
    """1px outer edge + 1px inner highlight (top/left) and shade (bottom/right)."""
    return (f'  <polyline points="1.5,{h-2} 1.5,1.5 {w-2},1.5" fill="none" stroke="{light}" stroke-width="1"/>\n'
            f'  <polyline points="2,{h-1.5} {w-1.5},{h-1.5} {w-1.5},2" fill="none" stroke="{dark}" stroke-width="1"/>\n'
            f'  <rect x="0.5" y="0.5" width="{w-1}" height="{h-1}" fill="none" stroke="{edge}" stroke-width="1"/>\n')

# ---------- digit keys 33x33 ----------
KEY_GRAD = (
  '    <linearGradient id="face" x1="0" y1="0" x2="0" y2="33" gradientUnits="userSpaceOnUse">\n'
  '      <stop offset="0" stop-color="#FFD9EA"/>\n'
  '      <stop offset="0.45" stop-color="#FFB6D5"/>\n'
  '      <stop offset="1" stop-color="#F295BF"/>\n'
  '    </linearGradient>\n')
for d in range(10):
    p, bb = glyphs.centered('sans', str(d), 23, 16.5, 16.5)
    body = (KEY_GRAD +
            '  <rect x="0" y="0" width="33" height="33" fill="url(#face)"/>\n' +
            bevel(33, 33, '#A8487A', '#FFF0F7', '#D9749F') +
            f'  <path fill="#000000" d="{p}"/>\n')
    write(f'key_{d}.svg', 33, 33, body)

# ---------- back key 73x33 ----------
body = (
  '    <linearGradient id="face" x1="0" y1="0" x2="0" y2="33" gradientUnits="userSpaceOnUse">\n'
  '      <stop offset="0" stop-color="#EEDFFA"/>\n'
  '      <stop offset="0.45" stop-color="#D8B8F0"/>\n'
  '      <stop offset="1" stop-color="#BE9ADD"/>\n'
  '    </linearGradient>\n'
  '  <rect x="0" y="0" width="73" height="33" fill="url(#face)"/>\n' +
  bevel(73, 33, '#7A4FA6', '#F8F0FF', '#AC86D0') +
  '  <line x1="60" y1="16.5" x2="22" y2="16.5" fill="none" stroke="#2A1040" stroke-width="3" stroke-dasharray="5 3" stroke-linecap="butt"/>\n'
  '  <polyline points="24,8.5 14,16.5 24,24.5" fill="none" stroke="#2A1040" stroke-width="3" stroke-linecap="butt" stroke-linejoin="miter"/>\n')
write('key_back.svg', 73, 33, body)

# ---------- OK key 113x33 ----------
p, bb = glyphs.centered('sans', 'OK', 20, 56.5, 16.5, tracking=1.0)
body = (
  '    <linearGradient id="band" x1="0" y1="0" x2="0" y2="33" gradientUnits="userSpaceOnUse">\n'
  '      <stop offset="0" stop-color="#D81818"/>\n'
  '      <stop offset="0.5" stop-color="#FFFFFF"/>\n'
  '      <stop offset="1" stop-color="#D81818"/>\n'
  '    </linearGradient>\n'
  '  <rect x="0" y="0" width="113" height="33" fill="url(#band)"/>\n'
  '  <rect x="0.5" y="0.5" width="112" height="32" fill="none" stroke="#7A0A0A" stroke-width="1"/>\n'
  f'  <path fill="#000000" d="{p}"/>\n')
write('key_ok.svg', 113, 33, body)

# ---------- level buttons 85x21 ----------
LEVELS = [('basso', 'Basso'), ('medio', 'Medio'), ('alto', 'Alto'), ('esagerato', 'Esagerato')]
LFONT = 'sans'
for key, word in LEVELS:
    p, bb = glyphs.centered(LFONT, word, 13, 42.5, 10.5, mode='cap', tracking=0.3)
    assert bb[0] >= 6 and bb[2] <= 79, (word, bb)
    body = (
      '    <linearGradient id="band" x1="0" y1="0" x2="85" y2="0" gradientUnits="userSpaceOnUse">\n'
      '      <stop offset="0" stop-color="#FF9418"/>\n'
      '      <stop offset="1" stop-color="#FFE83A"/>\n'
      '    </linearGradient>\n'
      '    <linearGradient id="gloss" x1="0" y1="0" x2="0" y2="21" gradientUnits="userSpaceOnUse">\n'
      '      <stop offset="0" stop-color="#FFFFFF" stop-opacity="0.45"/>\n'
      '      <stop offset="0.5" stop-color="#FFFFFF" stop-opacity="0"/>\n'
      '      <stop offset="1" stop-color="#B05000" stop-opacity="0.18"/>\n'
      '    </linearGradient>\n'
      '  <rect x="0" y="0" width="85" height="21" fill="url(#band)"/>\n'
      '  <rect x="0" y="0" width="85" height="21" fill="url(#gloss)"/>\n'
      '  <rect x="0.5" y="0.5" width="84" height="20" fill="none" stroke="#C25A00" stroke-width="1"/>\n'
      f'  <path fill="#3A1E00" d="{p}"/>\n')
    write(f'level_{key}.svg', 85, 21, body)
    body = ('  <rect x="0" y="0" width="85" height="21" fill="#FFF200"/>\n'
      '  <rect x="1" y="1" width="83" height="19" fill="none" stroke="#0038D8" stroke-width="2"/>\n'
      f'  <path fill="#0038D8" d="{p}"/>\n')
    write(f'level_{key}_sel.svg', 85, 21, body)
print('ok')
