#include "platform/qt/QtClock.h"

#include <QDate>
#include <QLocale>
#include <QTime>
#include <algorithm>

namespace {

/** One run of equal format letters, or one literal stretch between them. */
struct Token
{
    QString text;
    bool isField = false;
};

bool isFieldLetter(QChar c)
{
    return c.isLetter() && c.toLatin1() != 0;
}

/** Splits a QDateTime-style format into field runs and literals; quoted text stays literal. */
QList<Token> tokenize(const QString& format)
{
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            const qsizetype close = format.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype end = close < 0 ? format.size() : close + 1;
            const QString quoted = format.mid(i, end - i);
            if (!tokens.isEmpty() && !tokens.last().isField)
                tokens.last().text += quoted;
            else
                tokens.append({quoted, false});
            i = end;
        } else if (isFieldLetter(c)) {
            qsizetype end = i + 1;
            while (end < format.size() && format.at(end) == c)
                ++end;
            tokens.append({format.mid(i, end - i), true});
            i = end;
        } else {
            if (!tokens.isEmpty() && !tokens.last().isField)
                tokens.last().text += c;
            else
                tokens.append({QString(c), false});
            ++i;
        }
    }
    return tokens;
}

bool isField(const Token& token, char letter)
{
    return token.isField && token.text.at(0) == QLatin1Char(letter);
}

} // namespace

QString QtClock::todayText() const
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

QString QtClock::timeText() const
{
    const QLocale locale = QLocale::system();
    return locale.toString(QTime::currentTime(), timeFormat(locale));
}

QString QtClock::timeFormat(const QLocale& locale)
{
    // The short form is the one users see everywhere; the long one drags in a zone name.
    return withSecondsWithoutZone(locale.timeFormat(QLocale::ShortFormat));
}

QString QtClock::withSecondsWithoutZone(const QString& format)
{
    QList<Token> tokens = tokenize(format);

    // Drop the zone together with the blank that separated it from its neighbour.
    for (qsizetype i = 0; i < tokens.size();) {
        if (!isField(tokens.at(i), 't')) {
            ++i;
            continue;
        }
        tokens.removeAt(i);
        if (i > 0 && !tokens.at(i - 1).isField && tokens.at(i - 1).text.trimmed().isEmpty())
            tokens.removeAt(--i);
        else if (i < tokens.size() && !tokens.at(i).isField &&
                 tokens.at(i).text.trimmed().isEmpty())
            tokens.removeAt(i);
    }

    const bool hasSeconds =
        std::any_of(tokens.cbegin(), tokens.cend(), [](const Token& t) { return isField(t, 's'); });
    if (!hasSeconds) {
        for (qsizetype i = 0; i < tokens.size(); ++i) {
            if (!isField(tokens.at(i), 'm'))
                continue;
            // Repeat the separator the locale puts between hours and minutes ("." in some).
            QString separator = QStringLiteral(":");
            if (i >= 2 && (isField(tokens.at(i - 2), 'h') || isField(tokens.at(i - 2), 'H'))) {
                const QString between = tokens.at(i - 1).text;
                const bool plain =
                    !between.contains(QLatin1Char('\'')) && !between.trimmed().isEmpty();
                if (plain)
                    separator = between;
            }
            tokens.insert(i + 1, {separator, false});
            tokens.insert(i + 2, {QStringLiteral("ss"), true});
            break;
        }
    }

    QString result;
    for (const Token& token : std::as_const(tokens))
        result += token.text;
    return result.trimmed();
}
