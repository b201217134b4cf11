#pragma once

#include "platform/SaveDialog.h"

#include <QList>

/** Answers the save dialog with the next queued path; an empty queue (or nullopt) is Cancel. */
class FakeSaveDialog : public SaveDialog
{
public:
    std::optional<QString> showSave(QWidget*, const Options& options) override
    {
        shown.append(options);
        return answers.isEmpty() ? std::optional<QString>() : answers.takeFirst();
    }

    QList<std::optional<QString>> answers;
    QList<Options> shown;
};
