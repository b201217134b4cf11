#include "CaptionFitter.h"

#include <QFontMetricsF>
#include <QTest>
#include <cmath>

namespace {
const QString Paragraph = QStringLiteral(
    "There are several ways. First, you can type the text into the text box, highlight it, and "
    "drag it to the Add icon. To quickly highlight the text, click any of the icons.");

QFont boldFont()
{
    QFont font;
    font.setPointSizeF(12);
    font.setBold(true);
    return font;
}

/** Size `text` needs with `flags` in a box `width` wide, rounded up to whole pixels. */
QSize neededSize(const QString& text, int flags, int width = 10000)
{
    const QRectF needed =
        QFontMetricsF(boldFont()).boundingRect(QRectF(0, 0, width, 10000), flags, text);
    return {static_cast<int>(std::ceil(needed.width())),
            static_cast<int>(std::ceil(needed.height()))};
}
} // namespace

/** Shrinking a caption's font, narrower first, until the caption fits its box. */
class tst_CaptionFitter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fitsAtTheEdge_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("spare");
        QTest::addColumn<bool>("expected");

        QTest::newRow("exactly wide and high enough")
            << QStringLiteral("Quippet") << QSize(0, 0) << true;
        QTest::newRow("one pixel too narrow") << QStringLiteral("Quippet") << QSize(-1, 0) << false;
        QTest::newRow("one pixel too low") << QStringLiteral("Quippet") << QSize(0, -1) << false;
        QTest::newRow("access key marker takes no room")
            << QStringLiteral("&Visit Hompage") << QSize(0, 0) << true;
    }

    void fitsAtTheEdge()
    {
        QFETCH(QString, text);
        QFETCH(QSize, spare);
        QFETCH(bool, expected);

        const int flags = Qt::TextSingleLine | Qt::TextShowMnemonic;
        const QSize box = neededSize(QString(text).remove(QLatin1Char('&')), flags) + spare;
        QCOMPARE(CaptionFitter::fits(boldFont(), text, box, flags), expected);
    }

    void fittedFontFits_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("widthShare");
        QTest::addColumn<int>("linesShort");
        QTest::addColumn<int>("flags");

        const int oneLine = Qt::TextSingleLine;
        QTest::newRow("fits already") << QStringLiteral("Quippet") << 1.0 << 0 << oneLine;
        QTest::newRow("too wide for narrowing alone")
            << QStringLiteral("by Team Quippet") << 0.72 << 0 << oneLine;
        QTest::newRow("paragraph one line too long")
            << Paragraph << 0.3 << 1 << int(Qt::TextWordWrap | Qt::AlignLeft);
    }

    void fittedFontFits()
    {
        QFETCH(QString, text);
        QFETCH(double, widthShare);
        QFETCH(int, linesShort);
        QFETCH(int, flags);

        // A share of the one-line width, as high as the text needs there, less some lines.
        const QFont font = boldFont();
        const int lineHeight = neededSize(text, Qt::TextSingleLine).height();
        const int width =
            static_cast<int>(neededSize(text, Qt::TextSingleLine).width() * widthShare);
        const QSize box(width, neededSize(text, flags, width).height() - linesShort * lineHeight);

        const QFont result = CaptionFitter::fitted(font, text, box, flags);

        QVERIFY(CaptionFitter::fits(result, text, box, flags));
        QCOMPARE(result == font, widthShare == 1.0);
        QVERIFY(result.bold());
        QVERIFY(result.pointSizeF() >= font.pointSizeF() * CaptionFitter::MinimumScale);
        if (result.pointSizeF() < font.pointSizeF()) // smaller only once narrowing was used up
            QCOMPARE(result.stretch(), CaptionFitter::MinimumStretch);
    }

    void impossibleBoxGivesTheSmallestTried()
    {
        const QFont font = boldFont();
        const QFont result = CaptionFitter::fitted(font, Paragraph, QSize(20, 5), Qt::TextWordWrap);

        QCOMPARE(result.stretch(), CaptionFitter::MinimumStretch);
        QVERIFY(result.pointSizeF() < font.pointSizeF() * CaptionFitter::MinimumScale + 0.25);
        QVERIFY(result.pointSizeF() >= font.pointSizeF() * CaptionFitter::MinimumScale);
    }
};

QTEST_MAIN(tst_CaptionFitter)
#include "tst_CaptionFitter.moc"
