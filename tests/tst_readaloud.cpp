// SPDX-License-Identifier: GPL-3.0-or-later
// What a child who cannot read yet hears through a whole puzzle, and that nothing is said when
// the class does not read aloud.
#include "FormHarness.h"
#include "ItalianWords.h"
#include "Voice.h"

#include <QLineEdit>
#include <QPushButton>

namespace {
struct RecordingVoice : Voice
{
    void say(const QString &text) override { said << text; }
    QStringList said;
};

const QString Praised = QStringLiteral("(a praise)");

ClassSetup readingAloud(bool voice)
{
    ClassSetup setup;
    setup.voice = voice;
    return setup;
}
} // namespace

class TestReadAloud : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void aWholePuzzle_data();
    void aWholePuzzle();
};

void TestReadAloud::aWholePuzzle_data()
{
    QTest::addColumn<bool>("on");
    QTest::newRow("read aloud") << true;
    QTest::newRow("not asked for") << false;
}

void TestReadAloud::aWholePuzzle()
{
    QFETCH(bool, on);
    RecordingVoice voice;
    FormHarness h(3, readingAloud(on), &voice);
    ExerciseForm *form = h.openExercise(int(Operation::Multiplication));
    FormHarness::click(h.level(1));
    QStringList expected{GameTexts::LevelHint, GameTexts::TileHint};
    const auto problem = [form](int tile) {
        const Problem &p = form->round().problem(tile);
        return ItalianWords::problem(Operation::Multiplication, p.left, p.right);
    };

    // A wrong answer first, then every tile right; the hint goes with the first problem only.
    FormHarness::click(form->tiles[0]);
    expected << problem(0) + QStringLiteral(". ") + GameTexts::TypingHint;
    h.typeOnKeypad(QString::number(form->round().problem(0).result + 1));
    FormHarness::press(form->okKey);
    expected << GameTexts::WrongAnswer;
    for (int tile = 0; tile < TileGrid::Count; ++tile) {
        if (tile > 0) {
            FormHarness::click(form->tiles[std::size_t(tile)]);
            expected << problem(tile);
        }
        h.typeOnKeypad(QString::number(form->round().problem(tile).result));
        FormHarness::press(form->okKey);
        expected << Praised;
    }
    expected << GameTexts::Finished;
    QVERIFY(form->round().isFinished());
    // Which praise was drawn is the generator's; that one was said is the point.
    QStringList heard = voice.said;
    for (QString &text : heard)
        if (std::find(GameTexts::Praise.begin(), GameTexts::Praise.end(), text) !=
            GameTexts::Praise.end())
            text = Praised;
    QCOMPARE(heard, on ? expected : QStringList());
}

VORTANI_GUI_TEST_MAIN(TestReadAloud)
#include "tst_readaloud.moc"
