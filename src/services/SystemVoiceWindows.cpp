// SPDX-License-Identifier: GPL-3.0-or-later
#include "SystemVoice.h"

#include "SapiVoice.h"

std::unique_ptr<Voice> SystemVoice::make()
{
    return std::make_unique<SapiVoice>();
}
