#include "CaptionFitter.h"

#include <QFontMetricsF>
#include <QTest>
#include <cmath>

namespace {
QFont boldFont(qreal pointSize)
{
    QFont font;
    font.setPointSizeF(pointSize);
    font.setBold(true);
    return font;
}

/** Width the text needs on one line, rounded up to whole pixels. */
int naturalWidth(const QFont& font, const QString& text)
{
    const QRectF needed =
        QFontMetricsF(font).boundingRect(QRectF(0, 0, 10000, 1000), Qt::TextSingleLine, text);
    return static_cast<int>(std::ceil(needed.width()));
}

int naturalHeight(const QFont& font)
{
    return static_cast<int>(std::ceil(QFontMetricsF(font).height()));
}

const QString Paragraph = QStringLiteral(
    "There are several ways. First, you can type the text into the text box, highlight it, and "
    "drag it to the Add icon. To quickly highlight the text, click any of the icons.");
} // namespace

class tst_CaptionFitter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fitsAtTheEdge_data();
    void fitsAtTheEdge();
    void fittedFontFits_data();
    void fittedFontFits();
    void impossibleBoxGivesTheSmallestTried();
};

void tst_CaptionFitter::fitsAtTheEdge_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("spareWidth");
    QTest::addColumn<int>("spareHeight");
    QTest::addColumn<bool>("expected");

    QTest::newRow("exactly wide and high enough") << QStringLiteral("Quippet") << 0 << 0 << true;
    QTest::newRow("one pixel too narrow") << QStringLiteral("Quippet") << -1 << 0 << false;
    QTest::newRow("one pixel too low") << QStringLiteral("Quippet") << 0 << -1 << false;
    QTest::newRow("room to spare") << QStringLiteral("Version 1.0.61") << 20 << 10 << true;
    QTest::newRow("access key marker takes no room")
        << QStringLiteral("&Visit Hompage") << 0 << 0 << true;
}

void tst_CaptionFitter::fitsAtTheEdge()
{
    QFETCH(QString, text);
    QFETCH(int, spareWidth);
    QFETCH(int, spareHeight);
    QFETCH(bool, expected);

    const QFont font = boldFont(12);
    const int flags = Qt::TextSingleLine | Qt::TextShowMnemonic;
    const QString shown = QString(text).remove(QLatin1Char('&'));
    const QSize box(naturalWidth(font, shown) + spareWidth, naturalHeight(font) + spareHeight);

    QCOMPARE(CaptionFitter::fits(font, text, box, flags), expected);
}

void tst_CaptionFitter::fittedFontFits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("widthShare");
    QTest::addColumn<int>("linesShort");
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("unchanged");

    const int oneLine = Qt::TextSingleLine;
    const int wrapped = Qt::TextWordWrap | Qt::AlignLeft;
    QTest::newRow("fits already") << QStringLiteral("Quippet") << 1.0 << 0 << oneLine << true;
    QTest::newRow("a little too wide") << QStringLiteral("Quippet") << 0.9 << 0 << oneLine << false;
    QTest::newRow("too wide for narrowing alone")
        << QStringLiteral("by Team Quippet") << 0.72 << 0 << oneLine << false;
    QTest::newRow("paragraph fits its box") << Paragraph << 0.3 << 0 << wrapped << true;
    QTest::newRow("paragraph one line too long") << Paragraph << 0.3 << 1 << wrapped << false;
}

void tst_CaptionFitter::fittedFontFits()
{
    QFETCH(QString, text);
    QFETCH(double, widthShare);
    QFETCH(int, linesShort);
    QFETCH(int, flags);
    QFETCH(bool, unchanged);

    const QFont font = boldFont(12);
    // The box is a share of the one-line width, as high as the text needs there, less some lines.
    const int width = static_cast<int>(naturalWidth(font, text) * widthShare);
    const QRectF needed = QFontMetricsF(font).boundingRect(QRectF(0, 0, width, 10000),
                                                           flags & ~Qt::TextSingleLine, text);
    const int height = (flags & Qt::TextWordWrap) ? static_cast<int>(std::ceil(needed.height()))
                                                  : naturalHeight(font);
    const QSize box(width, height - linesShort * naturalHeight(font));

    const QFont result = CaptionFitter::fitted(font, text, box, flags);

    QVERIFY(CaptionFitter::fits(result, text, box, flags));
    QCOMPARE(result == font, unchanged);
    QVERIFY(result.bold());
    QCOMPARE(result.family(), font.family());
    QVERIFY(result.pointSizeF() <= font.pointSizeF());
    QVERIFY(result.pointSizeF() >= font.pointSizeF() * CaptionFitter::MinimumScale);
    if (result.pointSizeF() < font.pointSizeF()) // smaller only once narrowing was used up
        QCOMPARE(result.stretch(), CaptionFitter::MinimumStretch);
}

void tst_CaptionFitter::impossibleBoxGivesTheSmallestTried()
{
    const QFont font = boldFont(12);

    const QFont result = CaptionFitter::fitted(font, Paragraph, QSize(20, 5), Qt::TextWordWrap);

    QCOMPARE(result.stretch(), CaptionFitter::MinimumStretch);
    QVERIFY(result.pointSizeF() < font.pointSizeF() * CaptionFitter::MinimumScale + 0.25);
    QVERIFY(result.pointSizeF() >= font.pointSizeF() * CaptionFitter::MinimumScale);
}

QTEST_MAIN(tst_CaptionFitter)
#include "tst_CaptionFitter.moc"
