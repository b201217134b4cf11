#include "core/store/QuotedLineFile.h"

#include "core/store/QuotedLine.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool QuotedLineFile::append(const QString& path, const QString& text, QString* error)
{
    if (QFileInfo(path).isDir())
        return fail(error, QStringLiteral("It is a folder"));

    QFile file(path);
    // Unbuffered: the line reaches the system in one write, so its count tells the whole story.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fail(error, file.errorString());

    const qint64 oldSize = file.size();
    const QByteArray line = QuotedLine::encode(text);
    if (file.write(line) != line.size() || !file.flush()) {
        const QString reason = file.errorString();
        // Do not leave half a line behind for the next append to run into.
        file.resize(oldSize);
        file.close();
        return fail(error, reason);
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return fail(error, file.errorString());
    return true;
}

bool QuotedLineFile::create(const QString& path, const QString& text, QString* error)
{
    QSaveFile file(path);
    // Unbuffered so that a short write shows in write()'s count instead of vanishing in commit().
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(error, file.errorString());
    const QByteArray line = QuotedLine::encode(text);
    if (file.write(line) != line.size()) // uncommitted, no file is made
        return fail(error, file.errorString());
    if (!file.commit())
        return fail(error, file.errorString());
    return true;
}
