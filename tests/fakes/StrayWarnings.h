#pragma once

#include <QRegularExpression>
#include <QTest>

/**
 * Makes every warning in the running test function a failure, except the store's own "Could not
 * ..." reports: any other tells of a fault, such as a Qt call made with nothing to do. Called from
 * init().
 */
inline void failOnStrayWarnings()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!Could not )")));
}
