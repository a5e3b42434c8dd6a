// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// What the web edition asks of the page it runs in (packaging/web/page.js): the page owns the
// browser's audio, its live region, its print dialog and what shows around the game.
namespace WebPage {
// Starts a WAV image through Web Audio, cutting off the clip still playing.
void playClip(const QByteArray &wavImage);
// Appends a message to the page's live region, where screen readers read it out.
void announce(const QString &text);
// Opens the browser's print dialog with a PNG picture filling a landscape page.
void print(const QByteArray &png, const QString &title);
// Tells the page a form has been drawn: it stops showing that the game is loading.
void formShown();
// Replaces the game by the page's goodbye, with a way to play again.
void sayGoodbye();
// Says text in Italian through the browser's speech synthesis, cutting off what it still says.
void speak(const QString &text);
// Shows a text for the grown-up in place of the game: why the link's set-up was refused (with a
// way to the teacher's page), or what the link asked to know.
void showNotice(const QString &text, bool refused);
// Fetches a picture file of the site; done gets its bytes, or why they could not be had. Always
// later, never inside this call.
void fetchPicture(const QString &name,
                  std::function<void(const QByteArray &bytes, const QString &problem)> done);
// The Qt resource files (rcc --binary) of the control pictures for a sharp screen, which the
// page fetched before the program started: none on a screen of one pixel per point.
QList<QByteArray> sharperPictures();
} // namespace WebPage
