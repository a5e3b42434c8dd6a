// SPDX-License-Identifier: GPL-3.0-or-later
// The generated headers read back against the JSON they were made from (":/facts.json"): the
// game's own facts, and facts made to be hard to carry into C++ (tests/facts/tricky.json).
#include "FormGeometry.h"
#include "GameTexts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {
const FormGeometry::Control *declared(const QString &form, const QString &name)
{
    for (const FormGeometry::FormControls &f : FormGeometry::Forms)
        if (form == QLatin1StringView(f.name))
            for (const FormGeometry::Control &c : f.controls)
                if (name == QLatin1StringView(c.name))
                    return &c;
    return nullptr;
}

QRect rectOf(const QJsonValue &rect)
{
    const QJsonArray r = rect.toArray();
    return r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt()) : QRect();
}
} // namespace

class TestFacts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void texts_data();
    void texts();
    void praiseTitlesAndSize();
    void controls_data();
    void controls();
    void nothingButTheDeclaredControls();

private:
    QJsonObject facts;
};

void TestFacts::initTestCase()
{
    QFile file(QStringLiteral(":/facts.json"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonParseError error{};
    facts = QJsonDocument::fromJson(file.readAll(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
}

void TestFacts::texts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    for (const auto &[name, text] : {std::pair{"WindowTitle", &GameTexts::WindowTitle},
                                     {"LevelHint", &GameTexts::LevelHint},
                                     {"TileHint", &GameTexts::TileHint},
                                     {"TypingHint", &GameTexts::TypingHint},
                                     {"WrongAnswer", &GameTexts::WrongAnswer},
                                     {"Finished", &GameTexts::Finished},
                                     {"WholePartOnly", &GameTexts::WholePartOnly},
                                     {"NoPrinter", &GameTexts::NoPrinter},
                                     {"PrintFailed", &GameTexts::PrintFailed}})
        QTest::newRow(name) << name << *text;
}

void TestFacts::texts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    const QJsonValue json = facts[u"texts"][name];
    QVERIFY(json.isString());
    QCOMPARE(text, json.toString());
}

void TestFacts::praiseTitlesAndSize()
{
    const QJsonArray praise = facts[u"praise"].toArray();
    QCOMPARE(qsizetype(GameTexts::Praise.size()), praise.size());
    for (qsizetype i = 0; i < praise.size(); ++i)
        QCOMPARE(GameTexts::Praise[std::size_t(i)], praise[i].toString());
    const QJsonArray titles = facts[u"titles"].toArray();
    QCOMPARE(qsizetype(GameTexts::Titles.size()), titles.size());
    for (qsizetype i = 0; i < titles.size(); ++i) {
        QCOMPARE(GameTexts::Titles[std::size_t(i)].title, titles[i][u"title"].toString());
        QCOMPARE(GameTexts::Titles[std::size_t(i)].label, titles[i][u"label"].toString());
    }
    QCOMPARE(FormGeometry::FormSize.width(), facts[u"form"][u"width"].toInt());
    QCOMPARE(FormGeometry::FormSize.height(), facts[u"form"][u"height"].toInt());
}

void TestFacts::controls_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QRect>("rect");
    const QJsonObject forms = facts[u"controls"].toObject();
    for (auto form = forms.begin(); form != forms.end(); ++form) {
        const QJsonObject controls = form->toObject();
        for (auto control = controls.begin(); control != controls.end(); ++control) {
            const QJsonValue shared = control.value()[u"controls"];
            const QStringList names =
                shared.isArray() ? shared.toVariant().toStringList() : QStringList{control.key()};
            for (const QString &name : names)
                QTest::addRow("%s %s", qPrintable(form.key()), qPrintable(name))
                    << form.key() << name << control.value()[u"parent"].toString()
                    << rectOf(control.value()[u"rect"]);
        }
    }
}

void TestFacts::controls()
{
    QFETCH(QString, form);
    QFETCH(QString, name);
    QFETCH(QString, parent);
    QFETCH(QRect, rect);
    const FormGeometry::Control *c = declared(form, name);
    QVERIFY(c);
    QCOMPARE(QString::fromLatin1(c->parent), parent);
    QCOMPARE(c->rect, rect);
}

void TestFacts::nothingButTheDeclaredControls()
{
    const QJsonObject forms = facts[u"controls"].toObject();
    QCOMPARE(qsizetype(FormGeometry::Forms.size()), forms.size());
    for (const FormGeometry::FormControls &f : FormGeometry::Forms) {
        const QJsonObject controls = forms[QLatin1StringView(f.name)].toObject();
        qsizetype names = 0;
        for (const QJsonValue &control : controls)
            names += control[u"controls"].isArray() ? control[u"controls"].toArray().size() : 1;
        QCOMPARE(qsizetype(f.controls.size()), names);
    }
}

QTEST_GUILESS_MAIN(TestFacts)
#include "tst_facts.moc"
