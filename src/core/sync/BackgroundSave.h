#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

/**
 * Saves the list a moment after each change and remembers how the last save went. While it has
 * failed, the reason is kept and the save is tried again every 30 s as well as after the next
 * change, so a full disk or a read-only folder is reported until a save gets through.
 */
class BackgroundSave : public QObject
{
    Q_OBJECT
public:
    /** One save; false with the system's reason in `error` when it failed. */
    using SaveFunction = std::function<bool(QString* error)>;
    /** Starts one save, whose outcome is handed to `finished` once known. */
    using StartFunction = std::function<void()>;

    static constexpr int DelayMs = 1000;
    static constexpr int RetryMs = 30 * 1000;

    explicit BackgroundSave(SaveFunction save, QObject* parent = nullptr);
    explicit BackgroundSave(StartFunction start, QObject* parent = nullptr);

    /** The list changed: save after the delay. Ignored once stopped. */
    void schedule();
    /** No more background saves: the final save at exit takes over. */
    void stop();
    /** How the save started last went. Ignored once stopped. */
    void finished(bool saved, const QString& reason);

    /** True while the last background save has failed. */
    bool failed() const { return m_failed; }
    /** The system's reason for the last failure; empty after a success. */
    QString reason() const { return m_reason; }

    QTimer& delayTimer() { return m_delay; }
    QTimer& retryTimer() { return m_retry; }

Q_SIGNALS:
    /** A save failed, or the first save after failures succeeded. */
    void outcomeChanged();

private:
    void saveNow();

    StartFunction m_start;
    QTimer m_delay;
    QTimer m_retry;
    bool m_failed = false;
    bool m_stopped = false;
    QString m_reason;
};
