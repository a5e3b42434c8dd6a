// SPDX-License-Identifier: GPL-3.0-or-later
#include "GameInvariants.h"

#include "Appearance.h"
#include "ExerciseForm.h"
#include "FormHarness.h"
#include "GameContext.h"
#include "GameTexts.h"
#include "ImageBox.h"
#include "PictureOptionButton.h"
#include "StartForm.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int Tiles = TileGrid::Count;

QChar operatorOf(std::optional<Operation> operation)
{
    const int code = operation ? int(*operation) : 0;
    return code >= 1 && code <= 4 ? QStringLiteral("+-x:")[code - 1] : u'?';
}

// The operator the problems of a screen with this title show.
QChar operatorOf(const QString &title)
{
    for (const Operation operation : Operations)
        if (GameTexts::Titles[operationIndex(operation)].title == title)
            return operatorOf(operation);
    return u'?';
}
} // namespace

QString GameInvariants::check(const StartForm &start, const GameContext &context)
{
    const bool muted = context.preferences.soundMuted;
    if (start.soundSwitch->isChecked() != muted)
        return QStringLiteral("sound switch down %1 but soundMuted %2")
            .arg(start.soundSwitch->isChecked())
            .arg(muted);
    const ExerciseForm *f = start.exerciseForm();
    return f && !f->isUnloading() ? check(*f, context) : QString();
}

QString GameInvariants::check(const ExerciseForm &f, const GameContext &context)
{
    int faces = 0;
    for (const ImageBox *face : {f.neutralFace, f.smilingFace, f.laughingFace, f.sadFace})
        faces += int(!face->isHidden());
    if (faces != 1)
        return QStringLiteral("%1 faces shown").arg(faces);

    int hidden = 0, lit = 0, litTile = -1;
    for (int i = 0; i < Tiles; ++i) {
        const QPushButton *t = f.tiles[std::size_t(i)];
        hidden += int(t->isHidden());
        if (t->palette().color(QPalette::Button) == Appearance::SelectedTile) {
            ++lit;
            litTile = i;
        }
    }
    const Round &round = f.round();
    const bool keypad = f.keypad->isEnabled();
    const int open = round.openTile().value_or(-1);
    if (keypad != round.openTile().has_value())
        return QStringLiteral("keypad open %1, openTile %2").arg(keypad).arg(open);
    if (lit > 1 || (lit == 1 && litTile != open))
        return QStringLiteral("%1 tiles lit, the last %2, openTile %3")
            .arg(lit)
            .arg(litTile)
            .arg(open);

    const ExerciseChoice &choice = context.choice;
    if (operatorOf(choice.operation) != operatorOf(f.titleLabel->text()))
        return QStringLiteral("operation %1 on the %2 screen")
            .arg(QString(operatorOf(choice.operation)), f.titleLabel->text());

    // Until a level is chosen on this form nothing of a game shows.
    if (!f.puzzleFrame->isEnabled()) {
        if (hidden || lit || keypad || round.solvedCount())
            return QStringLiteral("before a level: %1 hidden, %2 lit, keypad %3, solvedCount %4")
                .arg(hidden)
                .arg(lit)
                .arg(keypad)
                .arg(round.solvedCount());
        return {};
    }

    // Every hidden tile is a solved one, and the twelfth shows the laughing face. The keypad is
    // open only for a tile still in view; a lit tile in view means the keypad is open for it.
    for (int i = 0; i < Tiles; ++i)
        if (round.isSolved(i) != f.tiles[std::size_t(i)]->isHidden())
            return QStringLiteral("tile %1 solved %2 but hidden %3")
                .arg(i)
                .arg(round.isSolved(i))
                .arg(f.tiles[std::size_t(i)]->isHidden());
    if (round.solvedCount() != hidden)
        return QStringLiteral("solvedCount %1 with %2 tiles hidden")
            .arg(round.solvedCount())
            .arg(hidden);
    if (hidden == Tiles && (f.laughingFace->isHidden() || keypad))
        return QStringLiteral("all tiles hidden without the laughing face or with the keypad open");
    if (keypad && (open < 0 || open >= Tiles || f.tiles[std::size_t(open)]->isHidden()))
        return QStringLiteral("keypad open for openTile %1, not in view").arg(open);
    if (lit == 1 && !f.tiles[std::size_t(litTile)]->isHidden() && !keypad)
        return QStringLiteral("tile %1 lit in view with the keypad closed").arg(litTile);

    // The option shown as chosen, if any, is the level that was dealt.
    for (int l = 1; l <= int(f.levelButtons.size()); ++l)
        if (f.levelButtons[std::size_t(l - 1)]->isChecked() && l != choice.level)
            return QStringLiteral("level button %1 chosen, level %2").arg(l).arg(choice.level);

    return checkCaptions(f);
}

// Twelve different problems of the screen's operation, each the round's.
QString GameInvariants::checkCaptions(const ExerciseForm &f)
{
    bool same = checkedForm == &f;
    for (int i = 0; same && i < Tiles; ++i)
        same = checkedCaptions[std::size_t(i)] == f.tiles[std::size_t(i)]->text();
    if (same)
        return {};
    checkedForm = nullptr;
    const QChar op = operatorOf(f.titleLabel->text());
    for (int i = 0; i < Tiles; ++i) {
        const QString caption = f.tiles[std::size_t(i)]->text();
        const qint64 value = FormHarness::expectedFromCaption(caption);
        if (value < 0)
            return QStringLiteral("tile %1 reads '%2'").arg(i).arg(caption);
        if (!caption.contains(QStringLiteral(" %1 ").arg(op)))
            return QStringLiteral("tile %1 reads '%2' on the %3 screen")
                .arg(i)
                .arg(caption, f.titleLabel->text());
        const Problem &problem = f.round().problem(i);
        if (caption != problem.caption || value != problem.result)
            return QStringLiteral("tile %1 reads '%2' but the round holds '%3' = %4")
                .arg(i)
                .arg(caption, problem.caption)
                .arg(problem.result);
        for (int j = 0; j < i; ++j)
            if (checkedCaptions[std::size_t(j)] == caption)
                return QStringLiteral("tiles %1 and %2 both read '%3'").arg(j).arg(i).arg(caption);
        checkedCaptions[std::size_t(i)] = caption;
    }
    checkedForm = &f;
    return {};
}
