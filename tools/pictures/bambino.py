# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the exercise-screen control pictures as SVG (run with a python3 that has fonttools).
import os
INK = '#2B1B12'
W = 'stroke="%s" stroke-linejoin="round" stroke-linecap="round"' % INK
parts = []
a = parts.append

# wall clock (top right)
a(f'  <circle cx="81" cy="12.5" r="8.3" fill="#E8453C" stroke="{INK}" stroke-width="1.4"/>')
a('  <circle cx="81" cy="12.5" r="6.2" fill="#FFFFFF"/>')
for x1, y1, x2, y2 in [(81, 7.2, 81, 8.6), (86.3, 12.5, 84.9, 12.5), (81, 17.8, 81, 16.4), (75.7, 12.5, 77.1, 12.5)]:
    a(f'  <line x1="{x1}" y1="{y1}" x2="{x2}" y2="{y2}" stroke="{INK}" stroke-width="1" stroke-linecap="round"/>')
a(f'  <line x1="81" y1="12.5" x2="81" y2="8.3" stroke="{INK}" stroke-width="1.2" stroke-linecap="round"/>')
a(f'  <line x1="81" y1="12.5" x2="84.3" y2="14.4" stroke="{INK}" stroke-width="1.5" stroke-linecap="round"/>')
a(f'  <circle cx="81" cy="12.5" r="1" fill="{INK}"/>')

# desk legs, top
a(f'  <rect x="6" y="49" width="5" height="14" fill="#9C5F26" stroke="{INK}" stroke-width="1.3"/>')
a(f'  <rect x="81" y="49" width="5" height="14" fill="#9C5F26" stroke="{INK}" stroke-width="1.3"/>')

# child: body
a(f'  <path d="M13.5 47 Q13.5 37.5 22 36.5 L34 36.5 Q42.5 37.5 42.5 47 Z" fill="#F05A3C" {W} stroke-width="1.4"/>')
a('  <path d="M15 42 L41 42" stroke="#FFD23C" stroke-width="2"/>')
a(f'  <path d="M24.5 36.6 Q28 39.6 31.5 36.6" fill="none" {W} stroke-width="1.1"/>')
# ears, head
a(f'  <circle cx="17.6" cy="27.5" r="2.6" fill="#FFCB9A" stroke="{INK}" stroke-width="1.3"/>')
a(f'  <circle cx="38.4" cy="27.5" r="2.6" fill="#FFCB9A" stroke="{INK}" stroke-width="1.3"/>')
a(f'  <circle cx="28" cy="26.5" r="10.2" fill="#FFD6AE" stroke="{INK}" stroke-width="1.4"/>')
# hair on end
a(f'  <path d="M18.2 24.5 L13.2 13.5 L20.3 17.6 L19.8 6.2 L25 15.2 L28.2 3.2 L31.2 15.2 L36.4 6.2 L35.8 17.6 L42.8 13.5 L37.8 24.5 '
  f'Q35.5 19.5 28 19.8 Q20.5 19.5 18.2 24.5 Z" fill="#6A3A1A" {W} stroke-width="1.3"/>')
# stress sparks
for d in ('M10 10.5 L12.2 12', 'M9.5 15.5 L12 15.8', 'M46 10.5 L43.8 12', 'M46.5 15.5 L44 15.8'):
    a(f'  <path d="{d}" fill="none" {W} stroke-width="1.2"/>')
# eyes (wide open, looking at the pile)
for x in (24, 32):
    a(f'  <circle cx="{x}" cy="26.8" r="3" fill="#FFFFFF" stroke="{INK}" stroke-width="1.1"/>')
    a(f'  <circle cx="{x+1}" cy="26.6" r="1.4" fill="{INK}"/>')
# worried brows
a(f'  <path d="M20.6 22.2 L25.4 21.2" fill="none" {W} stroke-width="1.2"/>')
a(f'  <path d="M35.4 22.2 L30.6 21.2" fill="none" {W} stroke-width="1.2"/>')
# wobbly mouth
a(f'  <path d="M23.6 33 Q25.1 31.6 26.6 33 Q28.1 34.4 29.6 33 Q31.1 31.6 32.6 33" fill="none" {W} stroke-width="1.2"/>')
# sweat drop
a('  <path d="M40.3 19.6 C41.3 21.1 41.9 22 41.9 23 C41.9 24 41.2 24.7 40.3 24.7 C39.4 24.7 38.7 24 38.7 23 '
  'C38.7 22 39.3 21.1 40.3 19.6 Z" fill="#5AB8FF" stroke="#1A5CA8" stroke-width="0.8" stroke-linejoin="round"/>')

# desk top (in front of the child)
a(f'  <rect x="2" y="45" width="88" height="5" rx="1.2" fill="#C8843C" stroke="{INK}" stroke-width="1.4"/>')
a('  <line x1="3.5" y1="46.6" x2="88.5" y2="46.6" stroke="#E6A664" stroke-width="1"/>')

# hands on the desk, pencil
a('  <line x1="38" y1="44" x2="44.5" y2="36.5" stroke="#FFC83C" stroke-width="2.2"/>')
a(f'  <path d="M44.5 36.5 L46 34.8" stroke="{INK}" stroke-width="1.6" stroke-linecap="round"/>')
a(f'  <ellipse cx="19" cy="44.6" rx="3.3" ry="2.3" fill="#FFD6AE" stroke="{INK}" stroke-width="1.2"/>')
a(f'  <ellipse cx="37" cy="44.6" rx="3.3" ry="2.3" fill="#FFD6AE" stroke="{INK}" stroke-width="1.2"/>')

# tall pile of papers
offs = [0, 1, -1, 2, 0, -1, 1, 2, 0, -1, 1, 0, -1]
cols = ['#FFFFFF', '#FFFFFF', '#FFF6C8', '#FFFFFF', '#E6F2FF', '#FFFFFF', '#FFFFFF',
        '#FFF6C8', '#FFFFFF', '#FFFFFF', '#E6F2FF', '#FFFFFF', '#FFFFFF']
y = 44.5
for i, (dx, c) in enumerate(zip(offs, cols)):
    y -= 3
    a(f'  <rect x="{51.5 + dx:g}" y="{y:g}" width="16" height="3" fill="{c}" stroke="{INK}" stroke-width="1"/>')
# a loose sheet sliding off the top
a(f'  <g transform="translate(60,4.2) rotate(-14)">'
  f'<rect x="-8" y="-1.5" width="16" height="3" fill="#FFFFFF" stroke="{INK}" stroke-width="0.9"/></g>')

# cup with steam
a('  <path d="M77.8 34 Q76.6 32 77.8 30.2 Q79 28.4 77.8 26.6" fill="none" stroke="#FFFFFF" stroke-width="1.2" stroke-linecap="round" opacity="0.85"/>')
a('  <path d="M81.6 34 Q80.4 32 81.6 30.2 Q82.8 28.4 81.6 26.6" fill="none" stroke="#FFFFFF" stroke-width="1.2" stroke-linecap="round" opacity="0.85"/>')
a(f'  <path d="M85 37.5 Q89 37.3 88.7 40.2 Q88.4 43 84.6 42.6" fill="none" {W} stroke-width="3.2"/>')
a(f'  <path d="M85 37.5 Q89 37.3 88.7 40.2 Q88.4 43 84.6 42.6" fill="none" stroke="#3C78E0" stroke-width="1.2" stroke-linecap="round"/>')
a(f'  <path d="M74.5 35.5 L85.5 35.5 L84.6 44.6 L75.4 44.6 Z" fill="#3C78E0" {W} stroke-width="1.3"/>')
a('  <line x1="75.6" y1="38" x2="84.4" y2="38" stroke="#FFFFFF" stroke-width="1.2"/>')

body = '\n'.join(parts) + '\n'
with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'assets', 'controls', 'bambino.svg'), 'w') as f:
    f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            'width="92" height="64" viewBox="0 0 92 64">\n' + body + '</svg>\n')
print('ok')
