#include "platform/qt/QtSaveDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

std::optional<QString> QtSaveDialog::showSave(QWidget* parent, const Options& options)
{
    QFileDialog dialog(parent);
    configure(dialog, options);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return QFileInfo(files.first()).absoluteFilePath();
}

void QtSaveDialog::configure(QFileDialog& dialog, const Options& options)
{
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setWindowTitle(options.title);
    const QString folder = startFolder(options.initDir);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    const QStringList filters = nameFilters(options.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    // A typed name is used as typed.
    dialog.setDefaultSuffix(QString());
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (options.flags & OverwritePrompt) == 0);
    dialog.selectFile(options.fileName);
}

QStringList QtSaveDialog::nameFilters(const QString& filter)
{
    QStringList result;
    if (filter.isEmpty())
        return result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QString pattern = i + 1 < parts.size() ? parts.at(i + 1).trimmed() : QString();
        // Several patterns are separated by ";" in our filter and by blanks for Qt.
        pattern = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        if (pattern.isEmpty())
            pattern = QStringLiteral("*");
        const QString shown = QLatin1Char('(') + pattern + QLatin1Char(')');
        if (description.isEmpty())
            result.append(shown);
        else if (description.endsWith(shown))
            result.append(description);
        else
            result.append(description + QLatin1Char(' ') + shown);
    }
    return result;
}

QString QtSaveDialog::startFolder(const QString& initDir)
{
    if (initDir.isEmpty())
        return QString();
    // The remembered value is a file's full path, and that file may be gone by now.
    QString path = QFileInfo(initDir).absoluteFilePath();
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            return QString();
        path = parent;
    }
    return QDir::cleanPath(path);
}
