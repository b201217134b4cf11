#pragma once

#include <QString>

class ProgramInfo;
class QWidget;
class SaveDialog;
class SettingsStore;

/**
 * The two commands of the Write target's menu: ask for a file with the save dialog, remember
 * the choice in the settings, and write one quoted line into the file.
 */
class WriteCommands
{
public:
    WriteCommands(SettingsStore& settings, SaveDialog& dialog, ProgramInfo& program);

    /** Appends `text` to a chosen file; false on Cancel or any failure. */
    bool addTextToFile(QWidget* parent, const QString& text, QString& targetFile);
    /** Replaces a chosen file's content with `text`; false on Cancel or any failure. */
    bool createNewFile(QWidget* parent, const QString& text, QString& targetFile);

    /** The first initial folder: the root of the volume that holds `programFolder`. */
    static QString defaultFolder(const QString& programFolder);

    static inline const QString Filter = QStringLiteral("Text Documents (*.txt)|*.txt");

private:
    QString lastFileOrDefault();

    SettingsStore& m_settings;
    SaveDialog& m_dialog;
    ProgramInfo& m_program;
};
