#include "core/compat/TrayIconRecord.h"
#include "core/compat/TrayMessageDecoder.h"
#include "core/compat/Twips.h"
#include "core/settings/SettingsCodec.h"
#include "fakes/CoreFixture.h"
#include "fakes/TableRows.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** The settings' texts, twips, and the notification-area record and its messages. */
class tst_SettingsUnits : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnStrayWarnings(); }

    void conversions_data()
    {
        // in: the settings file's text, or a number in text for the twips; factor: twips per pixel; out: as the settings file holds it, or the number
        addColumns<QString, QString, double, QString>("function", "in", "factor", "out");
        // clang-format off
        QTest::newRow("shrunk height") << "height" << "1030" << 0.0 << "1030";
        QTest::newRow("fraction kept") << "height" << "2600.4" << 0.0 << "2600.4";
        QTest::newRow("trailing garbage") << "height" << "1030px" << 0.0 << "2600";
        QTest::newRow("zero") << "height" << "0" << 0.0 << "2600";
        QTest::newRow("infinity") << "height" << "inf" << 0.0 << "2600";
        QTest::newRow("case and blanks ignored") << "bool" << " tRUE " << 0.0 << "True";
        QTest::newRow("zero is false") << "bool" << "0" << 0.0 << "False";
        QTest::newRow("minus one is true") << "bool" << "-1" << 0.0 << "True";
        QTest::newRow("Truex") << "bool" << "Truex" << 0.0 << "False";
        QTest::newRow("144 dpi") << "perPixel" << "144" << 0.0 << "10";
        QTest::newRow("zero dpi falls back to 96") << "perPixel" << "0" << 0.0 << "15";
        QTest::newRow("NaN dpi falls back to 96") << "perPixel" << "nan" << 0.0 << "15";
        QTest::newRow("22.5 ties down to even") << "round" << "22.5" << 0.0 << "22";
        QTest::newRow("23.5 ties up to even") << "round" << "23.5" << 0.0 << "24";
        QTest::newRow("just above a half") << "round" << "22.500001" << 0.0 << "23";
        QTest::newRow("NaN gives 0") << "round" << "nan" << 0.0 << "0";
        QTest::newRow("huge saturates high") << "round" << "1e12" << 0.0 << "2147483647";
        QTest::newRow("minus infinity saturates low") << "round" << "-inf" << 0.0 << "-2147483648";
        QTest::newRow("Height 2600 at 15") << "toPixels" << "2600" << 15.0 << "173";
        QTest::newRow("negative tie to even") << "toPixels" << "-37.5" << 15.0 << "-2";
        QTest::newRow("zero factor gives 0") << "toPixels" << "750" << 0.0 << "0";
        QTest::newRow("infinite factor gives 0") << "toPixels" << "750" << qInf() << "0";
        // clang-format on
    }

    void conversions()
    {
        auto [function, in, factor] = fetch<QString, QString, double>("function", "in", "factor");
        const double x = in.toDouble();
        QVERIFY(in != u"nan"_s || qIsNaN(x)); // a NaN row reaches the function with NaN, not with 0
        const QString got = function == u"bool"_s       ? SettingsCodec::textFromBool(SettingsCodec::boolFromText(in))
                            : function == u"height"_s   ? QString::number(SettingsCodec::heightFromText(in))
                            : function == u"perPixel"_s ? QString::number(Twips::perPixel(x))
                            : function == u"round"_s    ? QString::number(Twips::roundHalfEven(x))
                                                        : QString::number(Twips::toPixels(x, factor));
        QTEST(got, "out");
    }

    void trayRecord()
    {
        // cbSize 88, hWnd (little-endian), uID 1, uFlags 7, uCallbackMessage 512, hIcon, then the tip
        TrayIconRecord record = TrayIconRecord::forWindow(0x0A0B0C0D, 0x00010203, u"Quippet"_s);
        QCOMPARE(record.toBytes(),
                 QByteArray::fromHex("58000000 0D0C0B0A 01000000 07000000 00020000 03020100") + QByteArray("Quippet\0", 8) + QByteArray(56, ' '));
        // A new tip fills all 64 characters: blanks over the old one, or cut.
        record.setTip(QString());
        QCOMPARE(record.szTip, QString(64, u' '));
        record.setTip(QString(60, u'a') + u"bcdefgh"_s);
        QCOMPARE(record.szTip, QString(60, u'a') + u"bcde"_s);
        record.szTip += u"set directly, too long"_s; // the record keeps its size all the same
        QCOMPARE(record.toBytes().sliced(24), QByteArray(60, 'a') + "bcde");
    }

    void trayMessage_data()
    {
        addColumns<double, double, TrayMessageDecoder::Action>("x", "twipsPerPixel", "action");
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
        auto [x, twipsPerPixel] = fetch<double, double>("x", "twipsPerPixel");
        QTEST(TrayMessageDecoder::decode(x, twipsPerPixel), "action");
    }
};

QTEST_GUILESS_MAIN(tst_SettingsUnits)
#include "tst_SettingsUnits.moc"
