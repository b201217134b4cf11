#pragma once

#include <QString>
#include <optional>

class QWidget;

/** The save-file dialog. */
class SaveDialog
{
public:
    /** 2: confirm before overwriting an existing file. */
    static constexpr int OverwritePrompt = 2;
    /** 4: hide the read-only check box. */
    static constexpr int HideReadOnly = 4;

    struct Options
    {
        QString title;
        QString initDir;
        QString fileName;
        /** "Description|pattern". */
        QString filter;
        int flags = 0;
    };

    virtual ~SaveDialog() = default;
    /** The chosen file's full path, or nothing for Cancel. No default extension is added. */
    virtual std::optional<QString> showSave(QWidget* parent, const Options& options) = 0;
};
