#pragma once

#include "platform/MessageBox.h"

#include <QList>

/** Records message boxes; askRetry answers from a queue (default Discard). */
class FakeMessageBox : public MessageBox
{
public:
    struct Shown
    {
        QString prompt;
        int style;
        QString title;
    };

    void show(QWidget*, const QString& prompt, int style, const QString& title) override { shown.append({prompt, style, title}); }
    bool askRetry(QWidget*, const QString& prompt, const QString& title) override
    {
        retryPrompts.append({prompt, 0, title});
        return retryAnswers.isEmpty() ? false : retryAnswers.takeFirst();
    }

    QList<Shown> shown;
    QList<Shown> retryPrompts;
    QList<bool> retryAnswers;
};
