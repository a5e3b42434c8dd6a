// SPDX-License-Identifier: GPL-3.0-or-later
#include "Clips.h"
#include "Resources.h"

#include <windows.h>

// The clips are resources of type "CUSTOM" in the program file itself (clips.rc.in), each one
// whole WAV image.
QByteArray Resources::clipBytes(qint16 clipId)
{
    if (clipId < Clips::First || clipId > Clips::Last)
        return {};
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(clipId), L"CUSTOM");
    if (!found)
        return {};
    const HGLOBAL loaded = LoadResource(nullptr, found);
    const DWORD size = SizeofResource(nullptr, found);
    const void *bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0)
        return {};
    // A resource stays mapped as long as the program runs: no copy needed.
    return QByteArray::fromRawData(static_cast<const char *>(bytes), qsizetype(size));
}
