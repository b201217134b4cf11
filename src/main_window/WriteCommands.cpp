#include "main_window/WriteCommands.h"

#include "core/log/QuippetLog.h"
#include "core/settings/SettingsCodec.h"
#include "core/store/QuotedLineFile.h"
#include "platform/ProgramInfo.h"
#include "platform/SaveDialog.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

/** The command itself ends silently on a failure; the log keeps the reason. */
bool logged(bool written, const QString& operation, const QString& path, const QString& reason)
{
    if (!written)
        qCWarning(lcWrite).noquote() << QStringLiteral("Could not %1 \"%2\": %3")
                                            .arg(operation, QDir::toNativeSeparators(path), reason);
    return written;
}

} // namespace

WriteCommands::WriteCommands(SettingsStore& settings, SaveDialog& dialog, ProgramInfo& program)
    : m_settings(settings), m_dialog(dialog), m_program(program)
{
}

QString WriteCommands::defaultFolder(const QString& programFolder)
{
    const QStorageInfo volume(programFolder);
    if (volume.isValid() && !volume.rootPath().isEmpty())
        return volume.rootPath();
    return programFolder;
}

QString WriteCommands::lastFileOrDefault()
{
    return m_settings.readSetting(SettingsCodec::LastFile, defaultFolder(m_program.folder()));
}

bool WriteCommands::addTextToFile(QWidget* parent, const QString& text, QString& targetFile)
{
    SaveDialog::Options options;
    options.title = QStringLiteral("Add To...");
    options.initDir = lastFileOrDefault();
    options.fileName =
        m_settings.readSetting(SettingsCodec::Filename, SettingsCodec::DefaultFilename);
    options.filter = Filter;
    options.flags = SaveDialog::HideReadOnly;
    const auto chosen = m_dialog.showSave(parent, options);
    if (!chosen)
        return false;
    targetFile = *chosen;
    m_settings.writeSetting(SettingsCodec::LastFile, targetFile);
    m_settings.writeSetting(SettingsCodec::Filename, QFileInfo(targetFile).fileName());
    QString error;
    return logged(QuotedLineFile::append(targetFile, text, &error), QStringLiteral("add text to"),
                  targetFile, error);
}

bool WriteCommands::createNewFile(QWidget* parent, const QString& text, QString& targetFile)
{
    SaveDialog::Options options;
    options.fileName = SettingsCodec::DefaultFilename;
    options.title = QStringLiteral("Save As...");
    options.initDir = lastFileOrDefault();
    options.filter = Filter;
    options.flags = SaveDialog::HideReadOnly | SaveDialog::OverwritePrompt;
    const auto chosen = m_dialog.showSave(parent, options);
    if (!chosen)
        return false;
    targetFile = *chosen;
    m_settings.writeSetting(SettingsCodec::LastFile, targetFile);
    QString error;
    return logged(QuotedLineFile::create(targetFile, text, &error), QStringLiteral("create"),
                  targetFile, error);
}
