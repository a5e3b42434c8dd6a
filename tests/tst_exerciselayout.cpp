// SPDX-License-Identifier: GPL-3.0-or-later
#include "Appearance.h"
#include "FormGeometry.h"
#include "FormHarness.h"
#include "ImageBox.h"
#include "PuzzlePictures.h"
#include "StartForm.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

namespace Place = FormGeometry::Exercise;

namespace {
// Pictures that come only when the test hands them over, as a web page's do.
class LatePictures : public PuzzlePictures
{
public:
    void request(int, QObject *context, Done done) override
    {
        waiting.append({context, std::move(done)});
    }
    // Answers the request made that many deals ago (0: the latest).
    void answer(int dealsAgo, const QImage &picture, const QString &problem = {})
    {
        const Waiting &w = waiting.at(waiting.size() - 1 - dealsAgo);
        if (w.context)
            w.done(picture, problem);
    }

    struct Waiting
    {
        QPointer<QObject> context;
        Done done;
    };
    QList<Waiting> waiting;
};

QImage filled(const QColor &colour)
{
    QImage picture(Place::puzzlePicture.size(), QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}
} // namespace

class TestExerciseLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void formIsFixedAndTeal();
    void controlsLieWhereTheFactsSay_data();
    void controlsLieWhereTheFactsSay();
    void everyNamedControlIsInTheFacts_data();
    void everyNamedControlIsInTheFacts();
    void tilesCoverThePictureExactly();
    void controlsLieAboveLabelsAndPictures();
    void tabOrderFollowsPositions();
    void focusStartsOnExit();
    void printButtonStartsDisabled();
    void disabledFramesKeepTheirLook();
    void drawnInTheirOwnColours_data();
    void drawnInTheirOwnColours();
    void switchedOffButtonIsGreyed();
    void dealWritesTilesAndPicture();
    void missingPictureLeavesTheGamePlayable();
    void latePictureShowsOnlyForItsOwnDeal_data();
    void latePictureShowsOnlyForItsOwnDeal();

private:
    // The exercise form, or a start form made for the test.
    QWidget *formNamed(const QString &name);

    std::unique_ptr<FormHarness> harness;
    std::unique_ptr<StartForm> startForm;
};

void TestExerciseLayout::init()
{
    startForm.reset();
    harness = std::make_unique<FormHarness>();
    harness->openExercise(1);
}

QWidget *TestExerciseLayout::formNamed(const QString &name)
{
    QWidget *form = harness->form;
    if (name == u"startForm") {
        startForm = std::make_unique<StartForm>(harness->context);
        form = startForm.get();
    }
    return form->objectName() == name ? form : nullptr;
}

void TestExerciseLayout::formIsFixedAndTeal()
{
    ExerciseForm *f = harness->form;
    QCOMPARE(f->windowTitle(), GameTexts::WindowTitle);
    QCOMPARE(f->size(), FormGeometry::FormSize);
    QCOMPARE(f->minimumSize(), f->maximumSize());
    QCOMPARE(f->palette().color(QPalette::Window), QColor(0x00, 0xC0, 0xC0));
    QVERIFY(!f->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

// The harnesses click where the facts put a control: it must be there, in that parent.
void TestExerciseLayout::controlsLieWhereTheFactsSay_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("rect");
    for (const FormGeometry::FormControls &form : FormGeometry::Forms)
        for (const FormGeometry::Control &c : form.controls)
            QTest::addRow("%s %s", form.name, c.name) << form.name << c.name << c.parent << c.rect;
}

void TestExerciseLayout::controlsLieWhereTheFactsSay()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, rect);
    const QWidget *f = formNamed(form);
    QVERIFY2(f, qPrintable(form));
    const QWidget *w = f->findChild<QWidget *>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(w->geometry(), rect);
}

void TestExerciseLayout::everyNamedControlIsInTheFacts_data()
{
    QTest::addColumn<QString>("form");
    for (const FormGeometry::FormControls &form : FormGeometry::Forms)
        QTest::newRow(form.name) << form.name;
}

void TestExerciseLayout::everyNamedControlIsInTheFacts()
{
    QFETCH(QString, form);
    QStringList named;
    for (const QWidget *w : formNamed(form)->findChildren<QWidget *>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_"))
            named << w->objectName();
    QStringList declared;
    for (const FormGeometry::FormControls &f : FormGeometry::Forms)
        if (form == QLatin1StringView(f.name))
            for (const FormGeometry::Control &c : f.controls)
                declared << c.name;
    named.sort();
    declared.sort();
    QCOMPARE(named, declared);
}

void TestExerciseLayout::tilesCoverThePictureExactly()
{
    ExerciseForm *f = harness->form;
    QRect covered;
    for (const QPushButton *tile : f->tiles)
        covered = covered.united(tile->geometry());
    QCOMPARE(f->puzzlePicture->geometry(), covered);
    QCOMPARE(f->tiles[3]->geometry().right(), covered.right());
    QCOMPARE(f->tiles[11]->geometry().bottom(), covered.bottom());
}

void TestExerciseLayout::controlsLieAboveLabelsAndPictures()
{
    ExerciseForm *f = harness->form;
    // What the mouse reaches at a point is what lies on top there.
    QCOMPARE(f->puzzleFrame->childAt(f->tiles[5]->geometry().center()), f->tiles[5]);
    const QRect overNote = Place::answerBox.intersected(Place::answerNote);
    const QRect overCredits = Place::printButton.intersected(Place::creditsLabel);
    QVERIFY(!overNote.isEmpty() && !overCredits.isEmpty());
    QCOMPARE(f->childAt(overNote.center()), f->answerBox);
    QCOMPARE(f->childAt(overCredits.center()), f->printButton);
}

void TestExerciseLayout::tabOrderFollowsPositions()
{
    ExerciseForm *f = harness->form;
    // Enable everything so that every stop of the chain can take the focus.
    f->keypad->setEnabled(true);
    f->puzzleFrame->setEnabled(true);
    f->printButton->setEnabled(true);
    QStringList expected{"exitButton", "answerBox",  "eraseKey",   "digitKey_0", "digitKey_9",
                         "digitKey_8", "digitKey_7", "digitKey_6", "digitKey_5", "digitKey_4",
                         "digitKey_3", "digitKey_2", "digitKey_1", "okKey"};
    for (int i = 11; i >= 0; --i)
        expected << QStringLiteral("tile_%1").arg(i);
    // clang-format off
    expected << "levelButton_0" << "levelButton_1" << "levelButton_2" << "printButton" << "levelButton_3";
    // clang-format on
    // The focus chain itself: Tab walks it, except that among the exclusive level options only
    // one is a stop, as with any group of radio buttons.
    QStringList seen;
    for (QWidget *w = f->exitButton; seen.size() < expected.size(); w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus && expected.contains(w->objectName()))
            seen << w->objectName();
    QCOMPARE(seen, expected);
}

void TestExerciseLayout::focusStartsOnExit()
{
    QCOMPARE(QApplication::focusWidget(), harness->form->exitButton);
}

void TestExerciseLayout::printButtonStartsDisabled()
{
    ExerciseForm *f = harness->form;
    QVERIFY(!f->printButton->isEnabled());
    QVERIFY(!f->keypad->isEnabled());
    QVERIFY(!f->puzzleFrame->isEnabled());
    QVERIFY(f->levelFrame->isEnabled());
    QCOMPARE(f->printButton->toolTip(), QStringLiteral("Stampa l'intero schermo"));
    QCOMPARE(f->okKey->toolTip(), QStringLiteral("Conferma il risultato"));
    QCOMPARE(f->eraseKey->toolTip(), QStringLiteral("Cancella l'ultima cifra immessa"));
    QCOMPARE(f->exitButton->toolTip(), QStringLiteral("Ritorna al menù principale"));
    QVERIFY(f->digitKeys[4]->toolTip().isEmpty());
}

void TestExerciseLayout::disabledFramesKeepTheirLook()
{
    ExerciseForm *f = harness->form;
    const QImage closed = f->keypad->grab().toImage();
    f->keypad->setEnabled(true);
    f->exitButton->setFocus(); // no focus mark in either picture
    const QImage open = f->keypad->grab().toImage();
    QCOMPARE(closed, open);
}

void TestExerciseLayout::drawnInTheirOwnColours_data()
{
    QTest::addColumn<bool>("start"); // on the start screen, else on the exercise screen
    QTest::addColumn<QString>("control");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<QColor>("colour");
    const QColor teal(0x00, 0xC0, 0xC0), grey(0xC0, 0xC0, 0xC0);
    QTest::newRow("keypad frame, inside") << false << "keypad" << QList<QPoint>{{4, 100}} << teal;
    QTest::newRow("puzzle frame, inside")
        << false << "puzzleFrame" << QList<QPoint>{{4, 150}} << teal;
    QTest::newRow("level frame, inside") << false << "levelFrame" << QList<QPoint>{{4, 60}} << teal;
    QTest::newRow("exit, flat from top to bottom")
        << false << "exitButton" << QList<QPoint>{{10, 2}, {10, 18}, {10, 34}, {78, 18}} << grey;
    QTest::newRow("sound switch, flat from top to bottom")
        << true << "soundSwitch" << QList<QPoint>{{10, 2}, {10, 18}, {10, 34}, {78, 18}} << teal;
    QTest::newRow("start screen's frame, inside")
        << true << "menuFrame" << QList<QPoint>{{4, 100}} << teal;
}

void TestExerciseLayout::drawnInTheirOwnColours()
{
    QFETCH(bool, start);
    QFETCH(QString, control);
    QFETCH(QList<QPoint>, points);
    QFETCH(QColor, colour);
    auto *w = formNamed(start ? QStringLiteral("startForm") : QStringLiteral("exerciseForm"))
                  ->findChild<QWidget *>(control);
    QVERIFY(w);
    const QImage look = w->grab().toImage();
    for (const QPoint &p : points)
        QCOMPARE(look.pixelColor(p), colour);
}

void TestExerciseLayout::switchedOffButtonIsGreyed()
{
    // The print button, switched off until a level is chosen, shows its picture grey; the
    // level choice gives it back its colours. The keys in the closed keypad keep theirs.
    ExerciseForm *f = harness->form;
    const QPoint middle = f->printButton->rect().center();
    const QColor off = f->printButton->grab().toImage().pixelColor(middle);
    FormHarness::click(harness->level(1));
    f->exitButton->setFocus();
    const QColor on = f->printButton->grab().toImage().pixelColor(middle);
    QCOMPARE(off.saturation(), 0);
    QVERIFY2(on.saturation() > 0, qPrintable(on.name()));
    // Esagerato's face reaches its last row: no strip of button face under the word.
    const QImage esagerato = f->levelButtons[3]->grab().toImage();
    QVERIFY(esagerato.pixelColor(42, 24) != Appearance::buttonFace());
    QVERIFY(esagerato.pixelColor(42, 24) != f->levelButtons[3]->palette().color(QPalette::Button));
}

void TestExerciseLayout::dealWritesTilesAndPicture()
{
    ExerciseForm *f = harness->form;
    FormHarness::click(f->levelButtons[0]);
    for (const QPushButton *tile : f->tiles)
        QVERIFY(FormHarness::expectedFromCaption(tile->text()) > 0);
    QVERIFY(!f->puzzlePicture->pixmap().isNull());
    QCOMPARE(f->puzzlePicture->size(), Place::puzzlePicture.size());
    QCOMPARE(QApplication::focusWidget(), f->tiles[0]);
    QCOMPARE(f->verdictLine->text(), GameTexts::TileHint);
}

void TestExerciseLayout::missingPictureLeavesTheGamePlayable()
{
    ExerciseForm *f = harness->form;
    FormHarness::click(f->levelButtons[1]);
    QVERIFY(!f->puzzlePicture->pixmap().isNull());

    // A folder without pictures: the next deal cannot find its picture.
    QTemporaryDir empty;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(empty.path());
    const QString before = f->tiles[0]->text();
    for (int i = 0; i < 5 && f->tiles[0]->text() == before; ++i)
        f->dealPuzzle();
    QDir::setCurrent(previous);

    QVERIFY(f->puzzlePicture->isPlain());
    QVERIFY(f->puzzlePicture->pixmap().isNull()); // no stale picture
    for (const QPushButton *tile : f->tiles)
        QVERIFY(FormHarness::expectedFromCaption(tile->text()) > 0);
    harness->answerRight(4);
    QVERIFY(!f->tiles[4]->isVisible());
    QCOMPARE(f->round().solvedCount(), 1);
}

// Two deals, then their pictures arrive in the given order: the second deal's shows, or the
// plain fill when it failed; the first deal's never does.
void TestExerciseLayout::latePictureShowsOnlyForItsOwnDeal_data()
{
    QTest::addColumn<bool>("staleFirst");
    QTest::addColumn<bool>("latestFails");

    QTest::newRow("latest arrives, then the stale one") << false << false;
    QTest::newRow("stale arrives, then the latest") << true << false;
    QTest::newRow("latest fails, then the stale one arrives") << false << true;
}

void TestExerciseLayout::latePictureShowsOnlyForItsOwnDeal()
{
    QFETCH(bool, staleFirst);
    QFETCH(bool, latestFails);
    LatePictures late;
    harness->context.pictures = &late;
    ExerciseForm *f = harness->form;
    FormHarness::click(f->levelButtons[0]);
    QVERIFY(f->puzzlePicture->isPlain()); // until the picture comes
    f->dealPuzzle();
    QCOMPARE(late.waiting.size(), 2);

    const QColor latest(Qt::red);
    const auto answerLatest = [&] {
        if (latestFails)
            late.answer(0, QImage(), QStringLiteral("pic1.jpg: 404 Not Found"));
        else
            late.answer(0, filled(latest));
    };
    if (!staleFirst)
        answerLatest();
    late.answer(1, filled(Qt::blue));
    if (staleFirst)
        answerLatest();

    if (latestFails) {
        QVERIFY(f->puzzlePicture->isPlain());
        QVERIFY(f->puzzlePicture->pixmap().isNull());
    } else {
        QVERIFY(!f->puzzlePicture->isPlain());
        QCOMPARE(f->puzzlePicture->pixmap().toImage().pixelColor(10, 10), latest);
        QCOMPARE(f->puzzlePicture->size(), Place::puzzlePicture.size());
    }
    // The tiles were never held back by the picture.
    for (const QPushButton *tile : f->tiles)
        QVERIFY(FormHarness::expectedFromCaption(tile->text()) > 0);
}

VORTANI_GUI_TEST_MAIN(TestExerciseLayout)
#include "tst_exerciselayout.moc"
