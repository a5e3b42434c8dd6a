// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebPage.h"

#include <QHash>

#include <emscripten.h>

#include <cstdlib>

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

// ---- Files of the site: the page fetches, the program gets the bytes in its own memory --------
namespace {
using Fetched = std::function<void(const QByteArray &bytes, const QString &problem)>;
QHash<int, Fetched> &fetching()
{
    static QHash<int, Fetched> waiting;
    return waiting;
}
} // namespace

// Called by the page's answer to pageFetchPicture: the bytes were copied into memory the program
// owns from then on, or why is a text it owns.
extern "C" {
EMSCRIPTEN_KEEPALIVE void vortaniPictureFetched(int ticket, char *bytes, int size)
{
    const QByteArray copy(bytes, size);
    std::free(bytes);
    if (const Fetched done = fetching().take(ticket))
        done(copy, QString());
}

EMSCRIPTEN_KEEPALIVE void vortaniPictureFailed(int ticket, char *why)
{
    const QString problem = QString::fromUtf8(why);
    std::free(why);
    if (const Fetched done = fetching().take(ticket))
        done(QByteArray(), problem.isEmpty() ? QStringLiteral("unknown error") : problem);
}
}

// clang-format off
EM_JS(void, pageFetchPicture, (const char *name, int ticket), {
    const file = UTF8ToString(name);
    // Through a promise even when the page has no way to fetch: the answer always comes later.
    Promise.resolve().then(() => {
        const page = globalThis.vortaniPage;
        if (!page || typeof page.fetchPicture !== "function")
            throw new Error("the page cannot fetch pictures");
        return page.fetchPicture(file);
    }).then((buffer) => {
        const bytes = new Uint8Array(buffer);
        const at = _malloc(Math.max(1, bytes.length));
        HEAPU8.set(bytes, at);
        _vortaniPictureFetched(ticket, at, bytes.length);
    }, (error) => {
        const why = String(error && error.message ? error.message : error);
        const size = lengthBytesUTF8(why) + 1;
        const at = _malloc(size);
        stringToUTF8(why, at, size);
        _vortaniPictureFailed(ticket, at);
    });
});
EM_JS(int, pageSharperPictureCount, (), {
    const page = globalThis.vortaniPage;
    const files = page && typeof page.sharperPictures === "function" ? page.sharperPictures() : [];
    return Array.isArray(files) ? files.length : 0;
});
EM_JS(int, pageSharperPictureSize, (int index), {
    return globalThis.vortaniPage.sharperPictures()[index].byteLength;
});
EM_JS(void, pageCopySharperPicture, (int index, char *to), {
    HEAPU8.set(new Uint8Array(globalThis.vortaniPage.sharperPictures()[index]), to);
});
// clang-format on

void WebPage::fetchPicture(const QString &name, Fetched done)
{
    static int lastTicket = 0;
    const int ticket = ++lastTicket;
    fetching().insert(ticket, std::move(done));
    pageFetchPicture(name.toUtf8().constData(), ticket);
}

QList<QByteArray> WebPage::sharperPictures()
{
    QList<QByteArray> files;
    const int count = pageSharperPictureCount();
    for (int i = 0; i < count; ++i) {
        QByteArray file(pageSharperPictureSize(i), Qt::Uninitialized);
        pageCopySharperPicture(i, file.data());
        files << file;
    }
    return files;
}
