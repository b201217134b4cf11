#include "core/sync/StoreWatcher.h"

#include <QFileInfo>
#include <utility>

StoreWatcher::StoreWatcher(QString path, QObject* parent) : QObject(parent), m_path(std::move(path))
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(DefaultQuietMs);
    connect(&m_quiet, &QTimer::timeout, this, &StoreWatcher::changed);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &StoreWatcher::fileEvent);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &StoreWatcher::fileEvent);
}

void StoreWatcher::start()
{
    m_active = true;
    rewatch();
}

void StoreWatcher::stop()
{
    m_active = false;
    m_quiet.stop();
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
}

QString StoreWatcher::targetPath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    // A link to a file that is gone names the file the next save writes again.
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

void StoreWatcher::fileEvent()
{
    if (!m_active)
        return;
    rewatch();
    // Not restarted on later events: a steady stream of changes still gets read.
    if (!m_quiet.isActive())
        m_quiet.start();
}

void StoreWatcher::rewatch()
{
    if (!m_active)
        return;
    const QString target = targetPath(m_path);
    QStringList wanted{QFileInfo(target).absolutePath(), QFileInfo(m_path).absolutePath()};
    if (QFileInfo::exists(target))
        wanted.append(target);

    const QStringList watched = m_watcher.files() + m_watcher.directories();
    QStringList stale;
    for (const QString& path : watched)
        if (!wanted.contains(path))
            stale.append(path);
    if (!stale.isEmpty())
        m_watcher.removePaths(stale);
    QStringList missing;
    for (const QString& path : std::as_const(wanted))
        if (!watched.contains(path))
            missing.append(path);
    if (!missing.isEmpty())
        m_watcher.addPaths(missing);
}
