#pragma once

#include <QRegularExpression>
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
