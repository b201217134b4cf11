#include "CommandLine.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** What each command line does before any window exists: exit codes and which stream speaks. */
class tst_CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("start");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("standardOutput"); // expected start of the text, "" for none
        QTest::addColumn<QString>("standardError");

        const QString usage = u"Usage: quippet [--help | --version]\n"_s;
        QTest::newRow("none starts") << QStringList() << true << 0 << QString() << QString();
        QTest::newRow("--help") << QStringList{u"--help"_s} << false << 0 << usage << QString();
        QTest::newRow("-h") << QStringList{u"-h"_s} << false << 0 << usage << QString();
        QTest::newRow("--version")
            << QStringList{u"--version"_s} << false << 0 << u"Quippet 1.0.61\n"_s << QString();
        QTest::newRow("help wins over version in any order")
            << QStringList{u"-v"_s, u"-h"_s} << false << 0 << usage << QString();
        QTest::newRow("unknown option") << QStringList{u"--verbose"_s} << false << 2 << QString()
                                        << u"quippet: unknown option '--verbose'\n"_s + usage;
        QTest::newRow("mistake after a good option still fails")
            << QStringList{u"--help"_s, u"-x"_s} << false << 2 << QString()
            << u"quippet: unknown option '-x'\n"_s + usage;
        QTest::newRow("a file name is not taken")
            << QStringList{u"notes.txt"_s} << false << 2 << QString()
            << u"quippet: unexpected argument 'notes.txt'\n"_s + usage;
        QTest::newRow("option with a value is unknown")
            << QStringList{u"--help=all"_s} << false << 2 << QString()
            << u"quippet: unknown option '--help=all'\n"_s + usage;
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, start);
        QFETCH(int, exitCode);
        QFETCH(QString, standardOutput);
        QFETCH(QString, standardError);

        const auto outcome = CommandLine(u"quippet"_s, u"1.0.61"_s).parse(arguments);
        QCOMPARE(outcome.start, start);
        if (!start)
            QCOMPARE(outcome.exitCode, exitCode);
        QVERIFY2(outcome.standardOutput.startsWith(standardOutput) &&
                     outcome.standardOutput.isEmpty() == standardOutput.isEmpty(),
                 qPrintable(outcome.standardOutput));
        QVERIFY2(outcome.standardError.startsWith(standardError) &&
                     outcome.standardError.isEmpty() == standardError.isEmpty(),
                 qPrintable(outcome.standardError));
        // The error itself is one line; the usage follows it.
        if (!standardError.isEmpty())
            QVERIFY(outcome.standardError.section(u'\n', 1).startsWith(u"Usage:"_s));
    }
};

QTEST_APPLESS_MAIN(tst_CommandLine)
#include "tst_CommandLine.moc"
