# SPDX-License-Identifier: GPL-3.0-or-later
"""pe_resources.py EXE SOUNDS VERSION CLIP_ID...: clips, icon, version and imports as Windows reads them."""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from vortani_e2e import check, finish, need  # noqa: E402


def resources(pe, kind):
    found = {}
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if (str(t.name) if t.name else t.id) == kind:
            for entry in t.directory.entries:
                for lang in entry.directory.entries:
                    data = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
                    found.setdefault(entry.id, []).append((lang.id, data))
    return found


def main(argv):
    need(modules=("pefile",))
    import pefile
    program, sounds, version = argv[:3]
    clip_ids = sorted(int(i) for i in argv[3:])
    pe = pefile.PE(program)

    # The clips, in Italian (Italy), each exactly its WAV file.
    custom = resources(pe, 'CUSTOM')
    check(sorted(custom) == clip_ids, f'the CUSTOM resources are the clips {clip_ids}')
    for cid in clip_ids:
        with open(os.path.join(sounds, f'clip{cid}.wav'), 'rb') as f:
            check(custom.get(cid) == [(0x0410, f.read())],
                  f'clip {cid} is Italian and byte for byte clip{cid}.wav')

    # Icon group 1: 256x256 down to 16x16, every image in the file.
    group = resources(pe, pefile.RESOURCE_TYPE['RT_GROUP_ICON'])[1][0][1]
    images = resources(pe, pefile.RESOURCE_TYPE['RT_ICON'])
    count = struct.unpack_from('<H', group, 4)[0]
    sizes = {width or 256: image for width, image in
             (struct.unpack_from('<B11xH', group, 6 + 14 * i) for i in range(count))}
    check({256, 48, 32, 16} <= set(sizes) and all(image in images for image in sizes.values()),
          f'icon group 1 holds 256, 48, 32 and 16 pixels (holds {sorted(sizes)})')

    # The version, as numbers and as Explorer's texts ("3.05" is the game's way to write 3.5).
    major, minor, patch = (int(n) for n in version.split('.'))
    fixed = pe.VS_FIXEDFILEINFO[0]
    numbers = ((major << 16) | minor, patch << 16)
    check((fixed.FileVersionMS, fixed.FileVersionLS) == numbers
          == (fixed.ProductVersionMS, fixed.ProductVersionLS), f'file and product version {version}.0')
    tables = {t.LangID.decode(): {k.decode(): v.decode() for k, v in t.entries.items()}
              for info in pe.FileInfo[0] if info.Key == b'StringFileInfo' for t in info.StringTable}
    text = f'{major}.{minor:02d}'
    expected = {'FileVersion': text, 'ProductVersion': text, 'ProductName': 'Vortani',
                'InternalName': 'Vortani', 'OriginalFilename': 'Vortani.exe'}
    strings = tables.get('041004B0', {})
    check(all(strings.get(k) == v for k, v in expected.items())
          and all(strings.get(k, '').strip() for k in ('CompanyName', 'LegalCopyright')),
          f'string table 041004B0 of {sorted(tables)} has {expected}, a company and a copyright')

    imported = {(dll.dll.decode().lower(), i.name.decode())
                for dll in pe.DIRECTORY_ENTRY_IMPORT for i in dll.imports if i.name}
    check({('winmm.dll', 'sndPlaySoundA'), ('user32.dll', 'SetWindowPos')} <= imported,
          'imports sndPlaySoundA from WINMM.dll and SetWindowPos from USER32.dll')
    return finish()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
