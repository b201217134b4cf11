#include "TrayIconRecord.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class tst_TrayIconRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void setTip_data();
    void setTip();
    void startUpRecordBytes();
    void fieldsAreLittleEndian();
};

void tst_TrayIconRecord::setTip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tip");

    const QString title = u"Quippet"_s + QChar(0);
    QTest::newRow("title and NUL, blanks after") << title << title + QString(56, QLatin1Char(' '));
    QTest::newRow("empty text is all blanks") << QString() << QString(64, QLatin1Char(' '));
    QTest::newRow("exactly 64 characters") << QString(64, u'x') << QString(64, u'x');
    QTest::newRow("longer text cut at 64")
        << QString(60, u'a') + u"bcdefgh"_s << QString(60, u'a') + u"bcde"_s;
}

void tst_TrayIconRecord::setTip()
{
    QFETCH(QString, text);
    QFETCH(QString, tip);

    TrayIconRecord record;
    record.setTip(u"a previous, longer tip text"_s);
    record.setTip(text);
    QCOMPARE(record.szTip, tip);
    QCOMPARE(record.szTip.size(), TrayIconRecord::TipLength);
}

void tst_TrayIconRecord::startUpRecordBytes()
{
    TrayIconRecord record;
    record.cbSize = TrayIconRecord::Size;
    record.hIcon = 0x00010203;
    record.hWnd = 0x0A0B0C0D;
    record.setTip(u"Quippet"_s + QChar(0));
    record.uCallbackMessage = TrayIconRecord::WmMouseMove;
    record.uFlags = TrayIconRecord::NifMessage | TrayIconRecord::NifIcon | TrayIconRecord::NifTip;
    record.uID = 1;

    QByteArray expected = QByteArray::fromHex("58000000"   // cbSize 88
                                              "0D0C0B0A"   // hWnd
                                              "01000000"   // uID 1
                                              "07000000"   // uFlags 7
                                              "00020000"   // uCallbackMessage 512
                                              "03020100"); // hIcon
    expected += QByteArray("Quippet", 7);
    expected += '\0';
    expected += QByteArray(56, ' ');

    const QByteArray bytes = record.toBytes();
    QCOMPARE(bytes.size(), 88);
    QCOMPARE(bytes, expected);
}

void tst_TrayIconRecord::fieldsAreLittleEndian()
{
    TrayIconRecord record;
    record.cbSize = 0x11223344u;
    record.uID = 0xFFFFFFFEu;
    const QByteArray bytes = record.toBytes();
    QCOMPARE(bytes.mid(0, 4), QByteArray::fromHex("44332211"));
    QCOMPARE(bytes.mid(8, 4), QByteArray::fromHex("FEFFFFFF"));
    QCOMPARE(bytes.mid(24), QByteArray(64, ' '));
}

QTEST_GUILESS_MAIN(tst_TrayIconRecord)
#include "tst_TrayIconRecord.moc"
