// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebPage.h"

#include <emscripten.h>

// Each call reaches the page's script only if the page has one: the program still runs in a bare
// page, silently.
// clang-format off
EM_JS(void, pagePlayClip, (const char *bytes, int size), {
    const page = globalThis.vortaniPage;
    if (page) page.playClip(HEAPU8.slice(bytes, bytes + size).buffer);
});
EM_JS(void, pageAnnounce, (const char *text), {
    const page = globalThis.vortaniPage;
    if (page) page.announce(UTF8ToString(text));
});
EM_JS(void, pagePrint, (const char *bytes, int size, const char *title), {
    const page = globalThis.vortaniPage;
    if (page) page.print(HEAPU8.slice(bytes, bytes + size), UTF8ToString(title));
});
EM_JS(void, pageFormShown, (), {
    const page = globalThis.vortaniPage;
    if (page) page.formShown();
});
EM_JS(void, pageSayGoodbye, (), {
    const page = globalThis.vortaniPage;
    if (page) page.sayGoodbye();
});
EM_JS(void, pageSpeak, (const char *text), {
    const page = globalThis.vortaniPage;
    if (page) page.speak(UTF8ToString(text));
});
EM_JS(void, pageShowNotice, (const char *text, int refused), {
    const page = globalThis.vortaniPage;
    if (page) page.showNotice(UTF8ToString(text), refused !== 0);
});
// clang-format on

void WebPage::playClip(const QByteArray &wavImage)
{
    pagePlayClip(wavImage.constData(), int(wavImage.size()));
}

void WebPage::announce(const QString &text)
{
    pageAnnounce(text.toUtf8().constData());
}

void WebPage::print(const QByteArray &png, const QString &title)
{
    pagePrint(png.constData(), int(png.size()), title.toUtf8().constData());
}

void WebPage::formShown()
{
    pageFormShown();
}

void WebPage::sayGoodbye()
{
    pageSayGoodbye();
}

void WebPage::showNotice(const QString &text, bool refused)
{
    pageShowNotice(text.toUtf8().constData(), refused ? 1 : 0);
}

void WebPage::speak(const QString &text)
{
    pageSpeak(text.toUtf8().constData());
}
