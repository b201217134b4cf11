#include "DatePurge.h"
#include "FindEntry.h"
#include "InstallLayout.h"
#include "SettingsCodec.h"
#include "SnippetFilter.h"
#include "TrayIconRecord.h"
#include "TrayMessageDecoder.h"
#include "Twips.h"
#include "VectorSnippetList.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <climits>
#include <limits>
#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

/** The plain definition of the filter: starting matches, then the others, in list order, cut at `limit`. */
QStringList definition(const QStringList& entries, const QString& text, int limit)
{
    QStringList starting, others;
    for (const QString& entry : entries) {
        if (text.isEmpty())
            break;
        if (entry.startsWith(text, Qt::CaseInsensitive))
            starting << entry;
        else if (entry.contains(text, Qt::CaseInsensitive))
            others << entry;
    }
    return (starting + others).mid(0, limit);
}

/** Types each text in turn (only the first slice runs in between), then waits for the last. */
QStringList typeAll(SnippetFilter& filter, const QStringList& entries, const QStringList& typed)
{
    QStringList result;
    QObject::connect(&filter, &SnippetFilter::matched, [&](const QString& text, QList<int> rows) {
        result.clear();
        if (text == typed.last())
            for (int row : rows)
                result << entries.at(row);
    });
    for (const QString& text : typed)
        filter.setText(text);
    for (int i = 0; filter.isBusy() && i < 100000; ++i)
        QCoreApplication::processEvents();
    return result;
}
} // namespace

/** The rules of core classes without files: settings texts, twips, tray records, finding, purging, filtering. */
class tst_CoreRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void settings_data()
    {
        QTest::addColumn<QString>("conversion");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        // clang-format off
        QTest::newRow("shrunk height") << "height" << "1030" << "1030";
        QTest::newRow("fraction kept") << "height" << "2600.4" << "2600.4";
        QTest::newRow("trailing garbage") << "height" << "1030px" << "2600";
        QTest::newRow("zero") << "height" << "0" << "2600";
        QTest::newRow("infinity") << "height" << "inf" << "2600";
        QTest::newRow("case and blanks ignored") << "bool" << " tRUE " << "True";
        QTest::newRow("zero is false") << "bool" << "0" << "False";
        QTest::newRow("minus one is true") << "bool" << "-1" << "True";
        QTest::newRow("Truex") << "bool" << "Truex" << "False";
        // clang-format on
    }

    void settings()
    {
        QFETCH(QString, conversion);
        QFETCH(QString, in);
        if (conversion == u"height"_s)
            QTEST(QString::number(SettingsCodec::heightFromText(in)), "out");
        else // written back as the settings file holds it
            QTEST(SettingsCodec::textFromBool(SettingsCodec::boolFromText(in)), "out");
    }

    void twips_data()
    {
        QTest::addColumn<QString>("function");
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<int>("result");
        QTest::newRow("144 dpi") << "perPixel" << 144.0 << 0.0 << 10;
        QTest::newRow("zero dpi falls back to 96") << "perPixel" << 0.0 << 0.0 << 15;
        QTest::newRow("NaN dpi falls back to 96") << "perPixel" << NaN << 0.0 << 15;
        QTest::newRow("22.5 ties down to even") << "round" << 22.5 << 0.0 << 22;
        QTest::newRow("23.5 ties up to even") << "round" << 23.5 << 0.0 << 24;
        QTest::newRow("just above a half") << "round" << 22.500001 << 0.0 << 23;
        QTest::newRow("NaN gives 0") << "round" << NaN << 0.0 << 0;
        QTest::newRow("huge saturates high") << "round" << 1e12 << 0.0 << INT_MAX;
        QTest::newRow("minus infinity saturates low") << "round" << -Inf << 0.0 << INT_MIN;
        QTest::newRow("Height 2600 at 15") << "toPixels" << 2600.0 << 15.0 << 173;
        QTest::newRow("negative tie to even") << "toPixels" << -37.5 << 15.0 << -2;
        QTest::newRow("zero factor gives 0") << "toPixels" << 750.0 << 0.0 << 0;
        QTest::newRow("infinite factor gives 0") << "toPixels" << 750.0 << Inf << 0;
    }

    void twips()
    {
        QFETCH(QString, function);
        QFETCH(double, value);
        QFETCH(double, twipsPerPixel);
        QFETCH(int, result);
        const double got = function == u"perPixel"_s ? Twips::perPixel(value)
                           : function == u"round"_s  ? Twips::roundHalfEven(value)
                                                     : Twips::toPixels(value, twipsPerPixel);
        QCOMPARE(got, double(result));
    }

    void trayTip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        QTest::newRow("empty text is all blanks") << QString() << QString(64, u' ');
        QTest::newRow("longer text cut at 64") << QString(60, u'a') + u"bcdefgh"_s << QString(60, u'a') + u"bcde"_s;
    }

    void trayTip()
    {
        QFETCH(QString, text);
        TrayIconRecord record;
        record.setTip(u"a previous, longer tip text"_s);
        record.setTip(text);
        QTEST(record.szTip, "tip");
    }

    void trayRecordBytes()
    {
        // cbSize 88, hWnd (little-endian), uID 1, uFlags 7, uCallbackMessage 512, hIcon, then the tip
        const QByteArray expected =
            QByteArray::fromHex("58000000 0D0C0B0A 01000000 07000000 00020000 03020100") + QByteArray("Quippet\0", 8) + QByteArray(56, ' ');
        QCOMPARE(TrayIconRecord::forWindow(0x0A0B0C0D, 0x00010203, u"Quippet"_s).toBytes(), expected);
    }

    void trayMessage_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<TrayMessageDecoder::Action>("action");
        using Action = TrayMessageDecoder::Action;
        const std::pair<int, Action> messages[] = {{514, Action::None}, {515, Action::Restore}, {516, Action::None}, {517, Action::PopupMenu}};
        for (const double tpp : {15.0, 12.0})
            for (const auto& [message, action] : messages)
                QTest::addRow("%d at %g twips per pixel", message, tpp) << message * tpp << tpp << action;
        QTest::newRow("just under a half pixel off still 515") << 515 * 15.0 + 7.4 << 15.0 << Action::Restore;
        QTest::newRow("zero factor does nothing") << 515 * 15.0 << 0.0 << Action::None;
    }

    void trayMessage()
    {
        QFETCH(double, x);
        QFETCH(double, twipsPerPixel);
        QTEST(TrayMessageDecoder::decode(x, twipsPerPixel), "action");
    }

    void find_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("foundBefore");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("found");
        const QStringList six{u"a"_s, u"b"_s, u"abc"_s, u"c"_s, u"d"_s, u"abc"_s};
        QTest::newRow("empty list: index 0, found keeps true") << QStringList() << u"abc"_s << true << 0 << true;
        QTest::newRow("text at 2 and 5 reports 2") << six << u"abc"_s << false << 2 << true;
        QTest::newRow("no match reports count and false") << six << u"zzz"_s << true << 6 << false;
        QTest::newRow("case-sensitive") << six << u"ABC"_s << true << 6 << false;
    }

    void find()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, text);
        QFETCH(bool, foundBefore);
        int index = -99;
        FindEntry(VectorSnippetList(entries), text, index, foundBefore);
        QTEST(index, "index");
        QTEST(foundBefore, "found");
    }

    void purge_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("today");
        QTest::addColumn<QStringList>("remaining");
        const QString t = u"3/1/2024"_s, x = u"x"_s, y = u"y"_s;
        QTest::newRow("T,x,T -> x") << QStringList{t, x, t} << t << QStringList{x};
        QTest::newRow("x,T,T,y -> x,y") << QStringList{x, t, t, y} << t << QStringList{x, y};
        const QStringList nearMisses{t + u' ', u' ' + t, u"3/1/2024X"_s, u"3/1/202"_s};
        QTest::newRow("near misses stay") << nearMisses + QStringList{t} << t << nearMisses;
        QTest::newRow("empty today removes nothing") << QStringList{QString(), x} << QString() << QStringList{QString(), x};
    }

    void purge()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, today);
        QFETCH(QStringList, remaining);
        VectorSnippetList list(entries);
        QCOMPARE(DatePurge::purge(list, today), int(entries.size() - remaining.size()));
        QCOMPARE(list.entries(), remaining);
    }

    void isInstalled_data()
    {
        QTest::addColumn<QString>("entry");   // a file made below a fresh root ("/" ends a folder)
        QTest::addColumn<QString>("program"); // the program folder, made below the same root
        QTest::addColumn<bool>("installed");
        const QString apps = u"share/applications/"_s;
        const QString ours = u"org.example.quippet.desktop"_s;
        QTest::newRow("/usr") << u"usr/"_s + apps + ours << u"usr/bin"_s << true;
        QTest::newRow("/usr/local/bin/") << u"usr/local/"_s + apps + ours << u"usr/local/bin/"_s << true;
        QTest::newRow("no entry") << QString() << u"usr/bin"_s << false;
        QTest::newRow("another program's entry") << apps + u"other.desktop"_s << u"bin"_s << false;
        QTest::newRow("entry is a folder") << apps + ours + u"/"_s << u"bin"_s << false;
        QTest::newRow("build folder") << apps + ours << u"app"_s << false;
        QTest::newRow("entry under bin itself") << u"bin/"_s + apps + ours << u"bin"_s << false;
    }

    void isInstalled()
    {
        QFETCH(QString, entry);
        QFETCH(QString, program);
        QTemporaryDir root;
        QVERIFY(QDir().mkpath(root.filePath(program)));
        if (!entry.isEmpty()) {
            QVERIFY(QDir().mkpath(QFileInfo(root.filePath(entry)).path()));
            QFile file(root.filePath(entry));
            QVERIFY(entry.endsWith(u'/') ? QDir().mkpath(file.fileName()) : file.open(QIODevice::WriteOnly));
        }
        QTEST(InstallLayout::isInstalled(root.filePath(program), u"org.example.quippet.desktop"_s), "installed");
    }

    void filter_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QStringList>("expected");
        const QStringList e{u"say hello"_s, u"Hello world"_s, u"other"_s, u"help"_s, u"shell"_s, u"HELP desk"_s};
        // clang-format off
        QTest::newRow("starting matches first, each group in list order") << e << QStringList{u"he"_s} << 200 << QStringList{u"Hello world"_s, u"help"_s, u"HELP desk"_s, u"say hello"_s, u"other"_s, u"shell"_s};
        QTest::newRow("another text starts afresh") << e << QStringList{u"hel"_s, u"o"_s} << 200 << QStringList{u"other"_s, u"say hello"_s, u"Hello world"_s};
        QTest::newRow("limit within the starting matches") << e << QStringList{u"he"_s} << 2 << QStringList{u"Hello world"_s, u"help"_s};
        QTest::newRow("narrowed after the limit cut the starting scan") << e << QStringList{u"h"_s, u"hel"_s} << 2 << QStringList{u"Hello world"_s, u"help"_s};
        QTest::newRow("narrowed after the limit cut the scan: the rest is still read") << e << QStringList{u"l"_s, u"ll"_s} << 3 << QStringList{u"say hello"_s, u"Hello world"_s, u"shell"_s};
        QTest::newRow("nothing matches") << e << QStringList{u"h"_s, u"hx"_s} << 200 << QStringList();
        QTest::newRow("empty text offers nothing") << e << QStringList{u"he"_s, QString()} << 200 << QStringList();
        QTest::newRow("case beyond ASCII") << QStringList{u"Élan"_s, u"café"_s, u"CAFÉ au lait"_s} << QStringList{u"é"_s} << 200 << QStringList{u"Élan"_s, u"café"_s, u"CAFÉ au lait"_s};
        QTest::newRow("line breaks are text") << QStringList{u"one\ntwo"_s, u"two"_s} << QStringList{u"e\nt"_s} << 200 << QStringList{u"one\ntwo"_s};
        // clang-format on

        // Many entries of words: narrowing, widening and limits mixed, against the definition.
        const QStringList words{u"and"_s, u"Anna"_s, u"tea"_s, u"earth"_s, u"near"_s, u"bean"_s, u"Ant"_s, u"ear"_s, u"read"_s, u"dane"_s};
        std::mt19937 random(7);
        QStringList many;
        for (int i = 0; i < 3000; ++i)
            many << words.at(static_cast<qsizetype>(random() % 10)) + u' ' + words.at(static_cast<qsizetype>(random() % 10));
        const QStringList typing[] = {{u"a"_s, u"an"_s, u"and"_s, u"an"_s, u"a"_s, u"ea"_s, u"ear"_s},
                                      {u"e"_s, u"ea"_s, u"ear"_s, u"eart"_s, u"ear"_s, u"ea"_s, u"ean"_s},
                                      {u"n"_s, u"ne"_s, u"n"_s, u"an"_s, u"ann"_s, u"an"_s}};
        for (const QStringList& typed : typing)
            for (int limit : {1, 40, 3000})
                QTest::addRow("many entries, %s, limit %d", qPrintable(typed.join(u'>')), limit)
                    << many << typed << limit << definition(many, typed.last(), limit);
    }

    void filter()
    {
        QFETCH(QStringList, entries);
        QFETCH(QStringList, typed);
        QFETCH(int, limit);
        // Slices of one entry leave every earlier text half done; large ones finish each text.
        for (int checks : {1, 3, 50, 1000000}) {
            SnippetFilter filter(entries, limit);
            filter.setSlice(1000, checks);
            QTEST(typeAll(filter, entries, typed), "expected");
        }
    }

    void filterNeverEmitsStaleResults()
    {
        VectorSnippetList list;
        for (int i = 0; i < 100; ++i)
            list.append(u"entry %1 of the list"_s.arg(i));
        SnippetFilter filter(list.entries(), 10);
        filter.setSlice(1000, 5);
        QSignalSpy spy(&filter, &SnippetFilter::matched);
        filter.setText(u"9"_s);
        QCoreApplication::processEvents();
        QVERIFY(filter.isBusy());
        filter.setText(u"99"_s);
        QTRY_VERIFY(!filter.isBusy());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), u"99"_s);
        QCOMPARE(spy.at(0).at(1).value<QList<int>>(), QList<int>{99});

        // A list change while busy: the result counts positions in the changed list.
        spy.clear();
        filter.setText(u"9"_s);
        list.removeAt(0);
        list.removeAt(0);
        filter.listChanged();
        QTRY_VERIFY(!filter.isBusy());
        QCOMPARE(spy.last().at(0).toString(), u"9"_s);
        QCOMPARE(spy.last().at(1).value<QList<int>>(), (QList<int>{7, 17, 27, 37, 47, 57, 67, 77, 87, 88}));
        filter.clear();
        QVERIFY(!filter.isBusy());
    }
};

QTEST_GUILESS_MAIN(tst_CoreRules)
#include "tst_CoreRules.moc"
