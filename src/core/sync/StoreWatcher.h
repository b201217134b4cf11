#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

/**
 * Watches the store file and its folder (a replace by rename shows only there) and reports a
 * change once things have been quiet for a moment.
 */
class StoreWatcher : public QObject
{
    Q_OBJECT
public:
    /** Changes within this many milliseconds of the first are reported as one. */
    static constexpr int DefaultQuietMs = 300;

    explicit StoreWatcher(QString path, QObject* parent = nullptr);

    void start();
    void stop();
    /** Watches the file the path names now: a replace by rename drops the watch on the old one. */
    void rewatch();
    void setQuietMs(int ms) { m_quiet.setInterval(ms); }

    /** The file `path` names, symbolic links followed. */
    static QString targetPath(const QString& path);

Q_SIGNALS:
    void changed();

private:
    void fileEvent();

    QString m_path;
    QFileSystemWatcher m_watcher;
    QTimer m_quiet;
    bool m_active = false;
};
