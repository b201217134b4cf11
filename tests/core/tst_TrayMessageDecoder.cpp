#include "TrayMessageDecoder.h"

#include <QTest>

class tst_TrayMessageDecoder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data();
    void decode();
};

void tst_TrayMessageDecoder::decode_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("twipsPerPixel");
    QTest::addColumn<TrayMessageDecoder::Action>("action");

    using Action = TrayMessageDecoder::Action;
    const struct
    {
        int message;
        const char* name;
        Action action;
    } messages[] = {
        {512, "mouse move", Action::None}, {513, "left down", Action::None},
        {514, "left up", Action::None},    {515, "left double-click", Action::Restore},
        {516, "right down", Action::None}, {517, "right up", Action::PopupMenu},
    };
    for (const double tpp : {15.0, 12.0}) {
        for (const auto& m : messages) {
            QTest::addRow("%s (%d) at %g twips per pixel", m.name, m.message, tpp)
                << m.message * tpp << tpp << m.action;
        }
    }
    QTest::newRow("just under a half pixel off still 515")
        << 515 * 15.0 + 7.4 << 15.0 << Action::Restore;
    QTest::newRow("zero factor does nothing") << 515 * 15.0 << 0.0 << Action::None;
    QTest::newRow("x of 0") << 0.0 << 15.0 << Action::None;
}

void tst_TrayMessageDecoder::decode()
{
    QFETCH(double, x);
    QFETCH(double, twipsPerPixel);
    QFETCH(TrayMessageDecoder::Action, action);
    QCOMPARE(TrayMessageDecoder::decode(x, twipsPerPixel), action);
}

QTEST_GUILESS_MAIN(tst_TrayMessageDecoder)
#include "tst_TrayMessageDecoder.moc"
