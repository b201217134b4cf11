#pragma once

#include "platform/SaveDialog.h"

#include <QStringList>

class QFileDialog;

/** The save dialog as a QFileDialog, native where the platform offers one. */
class QtSaveDialog : public SaveDialog
{
public:
    std::optional<QString> showSave(QWidget* parent, const Options& options) override;

    /** Sets title, folder, file name, filters and overwrite question from `options`. */
    static void configure(QFileDialog& dialog, const Options& options);
    /** "Description|pattern|..." as Qt name filters, "Description (pattern)" each. */
    static QStringList nameFilters(const QString& filter);
    /** The folder to start in: `initDir` itself, a file's folder, or the nearest existing parent.
     */
    static QString startFolder(const QString& initDir);
};
