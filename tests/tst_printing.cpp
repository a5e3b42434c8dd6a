// SPDX-License-Identifier: GPL-3.0-or-later
// Printing the exercise screen on a real printer (a CUPS queue that writes PDF files), and what
// happens when there is none. ctest runs each function in its own process and set-up.
#include "FormGeometry.h"
#include "FormHarness.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

namespace {
bool inCi()
{
    return qgetenv("CI") == "true";
}

// The PDF printer writes each job into the "PDF" folder of the job owner's home.
QDir pdfFolder()
{
    const passwd *user = getpwuid(getuid());
    return QDir(QString::fromLocal8Bit(user ? user->pw_dir : "/root") + QStringLiteral("/PDF"));
}

// lpstat's answer, in English whatever the locale.
QString lpstat(const QStringList &arguments)
{
    QProcess lpstat;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    lpstat.setProcessEnvironment(environment);
    lpstat.start(QStringLiteral("lpstat"), arguments);
    lpstat.waitForFinished();
    return QString::fromLocal8Bit(lpstat.readAllStandardOutput());
}

// The numbers of the jobs the default queue of this run's print server has had. Another run's
// server writes into the same folder, so a job is told by its number, not by its time.
QSet<int> printJobs()
{
    const QString queue = QPrinterInfo::defaultPrinterName();
    QSet<int> jobs;
    const QRegularExpression line(QStringLiteral("^%1-(\\d+)").arg(queue),
                                  QRegularExpression::MultilineOption);
    for (const auto &m : line.globalMatch(
             lpstat({QStringLiteral("-W"), QStringLiteral("all"), QStringLiteral("-o"), queue})))
        jobs << m.captured(1).toInt();
    return jobs;
}

// The job's PDF, once the backend has closed it whole.
QString pdfOfJob(int job)
{
    const QFileInfoList files =
        pdfFolder().entryInfoList({QStringLiteral("*-job_%1.pdf").arg(job)}, QDir::Files);
    for (const QFileInfo &f : files)
        if (QProcess::execute(QStringLiteral("pdfinfo"), {f.absoluteFilePath()}) == 0)
            return f.absoluteFilePath();
    return {};
}

// What keeps the print server from taking this test's job, or nothing: the first that fails of
// the server answering, a default printer, its queue accepting jobs.
QString printerMissing()
{
    const QString server = qEnvironmentVariable("CUPS_SERVER", QStringLiteral("(not set)"));
    if (!lpstat({QStringLiteral("-r")}).contains(QStringLiteral("scheduler is running")))
        return QStringLiteral("CUPS_SERVER %1 unreachable: no print server answers there")
            .arg(server);
    const QString queue = QPrinterInfo::defaultPrinterName();
    if (queue.isEmpty() || QPrinterInfo::defaultPrinter().isNull())
        return QStringLiteral("no default printer on CUPS_SERVER %1").arg(server);
    if (!lpstat({QStringLiteral("-a"), queue})
             .contains(queue + QStringLiteral(" accepting requests")))
        return QStringLiteral("the default queue %1 on CUPS_SERVER %2 is not accepting jobs")
            .arg(queue, server);
    return {};
}

bool pale(const QColor &c)
{
    return c.red() > 225 && c.green() > 225 && c.blue() < c.red() - 20;
}

bool teal(const QColor &c)
{
    return c.red() < 60 && qAbs(c.green() - 192) < 30 && qAbs(c.blue() - 192) < 30;
}
} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void printsTheScreenAsItIs();
    void noPrinterShowsAMessageAndTheGameGoesOn();
};

void TestPrinting::printsTheScreenAsItIs()
{
    if (const QString missing = printerMissing(); !missing.isEmpty()) {
        // The print_server fixture starts the server and its queue.
        if (inCi())
            QFAIL(qPrintable(missing));
        QSKIP(qPrintable(missing));
    }
    FormHarness harness;
    ExerciseForm *f = harness.openExercise(1);
    FormHarness::click(f->levelButtons[0]);
    FormHarness::click(f->tiles[6]); // row 1, column 2, highlighted
    // The pointer on its way to the print button gives it the focus, and its focus mark.
    QTest::mouseMove(f->printButton);
    QCOMPARE(QApplication::focusWidget(), f->printButton);
    const Round before = f->round();
    const ClipList clipsBefore = harness.sink.clips;
    const QImage screenBefore = f->grab().toImage();
    const QSet<int> jobsBefore = printJobs();

    FormHarness::click(f->printButton);
    QVERIFY(!f->findChild<QMessageBox *>(QStringLiteral("printMessage")));
    QCOMPARE(harness.sink.clips, clipsBefore);
    QCOMPARE(f->round().solvedCount(), before.solvedCount());
    QCOMPARE(f->round().openTile(), before.openTile());
    QCOMPARE(f->grab().toImage(), screenBefore);

    const QSet<int> jobs = printJobs() - jobsBefore;
    QCOMPARE(jobs.size(), 1);
    QString pdf;
    QTRY_VERIFY_WITH_TIMEOUT(!(pdf = pdfOfJob(*jobs.begin())).isEmpty(), 60000);

    QTemporaryDir out;
    const QString prefix = out.filePath(QStringLiteral("page"));
    QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                               {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                                QStringLiteral("-singlefile"), pdf, prefix}),
             0);
    QImage page(prefix + QStringLiteral(".png"));
    QVERIFY(!page.isNull());

    // Find the form on the page by its teal background, then look where the highlighted tile
    // and a plain tile must be. The wide form is printed across the paper: turn the page so
    // that the form stands upright again.
    const auto formOn = [](const QImage &image) {
        QRect found;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (teal(image.pixelColor(x, y)))
                    found |= QRect(x, y, 1, 1);
        return found;
    };
    QRect form = formOn(page);
    if (form.height() > form.width()) {
        page = page.transformed(QTransform().rotate(90));
        form = formOn(page);
    }
    QVERIFY2(form.width() > page.width() * 3 / 4, "the form does not fill the page");
    const QSize size = FormGeometry::FormSize;
    QVERIFY2(qAbs(double(form.width()) / form.height() - double(size.width()) / size.height()) <
                 0.03,
             "the form's proportions were not kept");
    const auto at = [&](const QPoint &formPoint) {
        return page.pixelColor(form.left() + formPoint.x() * form.width() / size.width(),
                               form.top() + formPoint.y() * form.height() / size.height());
    };
    const QPoint tile6 = f->tiles[6]->geometry().translated(f->puzzleFrame->pos()).center();
    const QPoint tile1 = f->tiles[1]->geometry().translated(f->puzzleFrame->pos()).center();
    QVERIFY2(pale(at(tile6)), qPrintable(at(tile6).name()));
    QVERIFY2(!pale(at(tile1)), qPrintable(at(tile1).name()));
    QVERIFY(teal(at({60, 440})));
}

void TestPrinting::noPrinterShowsAMessageAndTheGameGoesOn()
{
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        if (inCi())
            QFAIL("a default printer exists; ctest runs this with no print server");
        QSKIP("a default printer exists; ctest runs this with no print server");
    }
    FormHarness harness;
    ExerciseForm *f = harness.openExercise(2);
    FormHarness::click(f->levelButtons[1]);
    FormHarness::click(f->printButton);
    auto *message = f->findChild<QMessageBox *>(QStringLiteral("printMessage"));
    QVERIFY(message);
    QVERIFY(message->isVisible());
    QCOMPARE(message->text(), GameTexts::NoPrinter);
    QVERIFY(message->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(harness.sink.clips.endsWith(Clips::Blip)); // no sound of its own
    // The game goes on behind the message and after it.
    message->accept();
    QTRY_VERIFY(!f->findChild<QMessageBox *>(QStringLiteral("printMessage")));
    harness.answerRight(3);
    QCOMPARE(f->round().solvedCount(), 1);
}

VORTANI_GUI_TEST_MAIN(TestPrinting)
#include "tst_printing.moc"
