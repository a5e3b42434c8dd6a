# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the exercise-screen control pictures as SVG (run with a python3 that has fonttools).
import os
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'assets', 'faces')
os.makedirs(OUT, exist_ok=True)
INK = '#3A2600'

HEAD = (
  '    <radialGradient id="skin" cx="12.5" cy="10.5" r="20" gradientUnits="userSpaceOnUse">\n'
  '      <stop offset="0" stop-color="#FFF4A8"/>\n'
  '      <stop offset="0.5" stop-color="#FFE030"/>\n'
  '      <stop offset="1" stop-color="#F0B810"/>\n'
  '    </radialGradient>\n'
  f'  <circle cx="16" cy="16" r="14.5" fill="url(#skin)" stroke="{INK}" stroke-width="1.5"/>\n')

def open_eyes():
    s = ''
    for x in (11.5, 20.5):
        s += (f'  <ellipse cx="{x}" cy="12.6" rx="1.9" ry="2.7" fill="{INK}"/>\n'
              f'  <circle cx="{x+0.6}" cy="11.6" r="0.7" fill="#FFFFFF"/>\n')
    return s

def cheeks(op):
    return (f'  <ellipse cx="7.8" cy="18.6" rx="2.3" ry="1.5" fill="#FF7060" fill-opacity="{op}"/>\n'
            f'  <ellipse cx="24.2" cy="18.6" rx="2.3" ry="1.5" fill="#FF7060" fill-opacity="{op}"/>\n')

def stroke(d, w=1.7):
    return f'  <path d="{d}" fill="none" stroke="{INK}" stroke-width="{w}" stroke-linecap="round" stroke-linejoin="round"/>\n'

faces = {}
faces['neutral'] = open_eyes() + stroke('M11 21.5 L21 21.5')
faces['smile'] = cheeks(0.45) + open_eyes() + stroke('M9.6 19 Q16 26.4 22.4 19')
faces['laugh'] = (cheeks(0.55) +
    stroke('M9 13.6 Q11.5 9.4 14 13.6', 1.6) + stroke('M18 13.6 Q20.5 9.4 23 13.6', 1.6) +
    '  <path d="M8.4 17.4 L23.6 17.4 Q23.6 27.6 16 27.6 Q8.4 27.6 8.4 17.4 Z" fill="#8C1426"/>\n'
    '  <path d="M9.2 18.1 L22.8 18.1 Q22.7 19.7 22.3 20.2 L9.7 20.2 Q9.3 19.7 9.2 18.1 Z" fill="#FFFFFF"/>\n'
    '  <path d="M11.2 25.2 Q16 21.6 20.8 25.2 Q18.9 27.1 16 27.1 Q13.1 27.1 11.2 25.2 Z" fill="#FF6F86"/>\n'
    f'  <path d="M8.4 17.4 L23.6 17.4 Q23.6 27.6 16 27.6 Q8.4 27.6 8.4 17.4 Z" fill="none" stroke="{INK}" stroke-width="1.4" stroke-linejoin="round"/>\n')
faces['sad'] = (open_eyes() +
    stroke('M8.8 9.4 L13.4 8.0', 1.3) + stroke('M23.2 9.4 L18.6 8.0', 1.3) +
    stroke('M10.6 23.6 Q16 18.4 21.4 23.6') +
    '  <path d="M24.4 15.2 C25.5 16.9 26.3 18 26.3 19.2 C26.3 20.4 25.4 21.3 24.4 21.3 '
    'C23.4 21.3 22.5 20.4 22.5 19.2 C22.5 18 23.3 16.9 24.4 15.2 Z" fill="#4AAEFF" stroke="#1A5CA8" stroke-width="0.8" stroke-linejoin="round"/>\n'
    '  <ellipse cx="23.7" cy="19.3" rx="0.5" ry="0.8" fill="#FFFFFF" fill-opacity="0.8"/>\n')

for name, body in faces.items():
    with open(os.path.join(OUT, f'face_{name}.svg'), 'w') as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
                'width="32" height="32" viewBox="0 0 32 32">\n' + HEAD + body + '</svg>\n')
print('ok')
