#include "TrayIconRecord.h"
#include "TrayMessageDecoder.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

/** The tray icon record's bytes and the mouse messages read back from the tray. */
class tst_TrayProtocol : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setTip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");

        const QString title = u"Quippet"_s + QChar(0);
        QTest::newRow("title and NUL, blanks after") << title << title + QString(56, u' ');
        QTest::newRow("empty text is all blanks") << QString() << QString(64, u' ');
        QTest::newRow("longer text cut at 64") << QString(60, u'a') + u"bcdefgh"_s << QString(60, u'a') + u"bcde"_s;
    }

    void setTip()
    {
        QFETCH(QString, text);
        QFETCH(QString, tip);

        TrayIconRecord record;
        record.setTip(u"a previous, longer tip text"_s);
        record.setTip(text);
        QCOMPARE(record.szTip, tip);
    }

    void startUpRecordBytes()
    {
        const TrayIconRecord record = TrayIconRecord::forWindow(0x0A0B0C0D, 0x00010203, u"Quippet"_s);

        QByteArray expected = QByteArray::fromHex("58000000"   // cbSize 88
                                                  "0D0C0B0A"   // hWnd, little-endian
                                                  "01000000"   // uID 1
                                                  "07000000"   // uFlags 7
                                                  "00020000"   // uCallbackMessage 512
                                                  "03020100"); // hIcon
        expected += QByteArray("Quippet\0", 8) + QByteArray(56, ' ');
        QCOMPARE(record.toBytes(), expected);
    }

    void decode_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("twipsPerPixel");
        QTest::addColumn<TrayMessageDecoder::Action>("action");

        using Action = TrayMessageDecoder::Action;
        const std::pair<int, Action> messages[] = {{512, Action::None},    {513, Action::None}, {514, Action::None},
                                                   {515, Action::Restore}, {516, Action::None}, {517, Action::PopupMenu}};
        for (const double tpp : {15.0, 12.0}) {
            for (const auto& [message, action] : messages)
                QTest::addRow("%d at %g twips per pixel", message, tpp) << message * tpp << tpp << action;
        }
        QTest::newRow("just under a half pixel off still 515") << 515 * 15.0 + 7.4 << 15.0 << Action::Restore;
        QTest::newRow("zero factor does nothing") << 515 * 15.0 << 0.0 << Action::None;
    }

    void decode()
    {
        QFETCH(double, x);
        QFETCH(double, twipsPerPixel);
        QFETCH(TrayMessageDecoder::Action, action);
        QCOMPARE(TrayMessageDecoder::decode(x, twipsPerPixel), action);
    }
};

QTEST_GUILESS_MAIN(tst_TrayProtocol)
#include "tst_TrayProtocol.moc"
