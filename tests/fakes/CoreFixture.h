#pragma once

#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

/**
 * Makes every warning in the running test function a failure, except the store's own "Could not
 * ..." reports: any other tells of a fault, such as a Qt call made with nothing to do. Called from
 * init().
 */
inline void failOnStrayWarnings()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!Could not )")));
}

/** A fresh folder and the store's path in it for the running test function, which fails on stray
 *  warnings. Called from init(). */
inline void freshStoreFolder(std::unique_ptr<QTemporaryDir>& dir, QString& storePath)
{
    dir = std::make_unique<QTemporaryDir>();
    storePath = dir->filePath(QStringLiteral("Text.txt"));
    failOnStrayWarnings();
}

/** Entries written as letters, one entry each; D stands for the date entry, which is never stored. */
inline QStringList letters(const QString& text)
{
    QStringList entries;
    for (const QChar letter : text)
        entries.append(letter == u'D' ? QStringLiteral("12/7/2026") : QString(letter));
    return entries;
}
