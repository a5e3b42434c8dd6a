// SPDX-License-Identifier: GPL-3.0-or-later
// Playing the exercise form with real mouse and keyboard events. The tests of the answer's way in
// (keypad, presses of every kind, keys, queued input) are in tst_exerciseplay_input.cpp.
#pragma once

#include "Appearance.h"
#include "FormHarness.h"
#include "ImageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>

#include <limits>

// The praise as a list, to look a text up in and to sort.
inline const QStringList Praise(GameTexts::Praise.begin(), GameTexts::Praise.end());
inline const QColor PaleYellow(255, 255, 192);

inline QString facesShown(const ExerciseForm *f)
{
    QStringList shown;
    for (const ImageBox *face : {f->neutralFace, f->smilingFace, f->laughingFace, f->sadFace})
        if (face->isVisible())
            shown << face->objectName();
    return shown.join(u',');
}

inline QColor colourOf(const QPushButton *tile)
{
    return tile->palette().color(QPalette::Button);
}

inline QList<int> highlightedTiles(const ExerciseForm *f)
{
    QList<int> lit;
    for (int i = 0; i < TileGrid::Count; ++i)
        if (const QPushButton *t = f->tiles[std::size_t(i)];
            t->isVisible() && colourOf(t) == PaleYellow)
            lit << i;
    return lit;
}

inline int visibleTiles(const ExerciseForm *f)
{
    return int(std::count_if(f->tiles.begin(), f->tiles.end(),
                             [](const QPushButton *t) { return t->isVisible(); }));
}

// How an answer reaches the box.
inline constexpr int Keypad = 0, Keyboard = 1, Paste = 2;

inline ClipList clipsForDigits(qint64 number)
{
    return ClipList(QString::number(number).size(), Clips::Blip);
}

class TestExercisePlay : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void clipAnswersWhetherTheFormIsLoaded_data();
    void clipAnswersWhetherTheFormIsLoaded();
    void init();
    void loadWaitsForALevel_data();
    void loadWaitsForALevel();
    void levelChoiceDeals_data();
    void levelChoiceDeals();
    void tileOpensTheKeypad_data();
    void tileOpensTheKeypad();
    void keypadTypesIntoTheBox_data();
    void keypadTypesIntoTheBox();
    void everyPressCounts_data();
    void everyPressCounts();
    void enterWorksTheFocusedButton_data();
    void enterWorksTheFocusedButton();
    void inertInput_data();
    void inertInput();
    void answerIsJudged_data();
    void answerIsJudged();
    void inputQueuedDuringAClip_data();
    void inputQueuedDuringAClip();
    void wholePuzzle_data();
    void wholePuzzle();
    void praiseReachesEveryText();
    void answeredDuringItsOwnClickSound();
    void levelChosenDuringTheLastChime();
    void physicalKeyboardWorksToo_data();
    void physicalKeyboardWorksToo();
    void arrowsMoveAcrossTheGrid_data();
    void arrowsMoveAcrossTheGrid();

private:
    ExerciseForm *openAtLevel(int operation, int level);
    void keys(const QString &keys, Qt::MouseButton button = Qt::LeftButton);
    qint32 resultOf(int tile) const { return h->form->round().problem(tile).result; }

    std::unique_ptr<FormHarness> h;
};
