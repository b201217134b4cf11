#pragma once

#include <QObject>
#include <atomic>
#include <csignal>

class QSocketNotifier;

/**
 * Turns SIGTERM, SIGINT and SIGHUP into shutdownRequested() on the thread that owns this
 * object, so that the program can end through its ordinary shut-down path.
 * The handlers are installed for the lifetime of the object; the previous ones come back
 * when it is destroyed.
 */
class ShutdownSignals : public QObject
{
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

    /** Whether the handlers could be installed. */
    bool isActive() const { return m_notifier != nullptr; }

Q_SIGNALS:
    /** One of the signals arrived. */
    void shutdownRequested();

private:
    static void handleSignal(int number);
    void drain();

    // A signal handler can reach nothing but static state; this is the pipe's write end.
    static std::atomic<int> s_writeFd;

    int m_fds[2] = {-1, -1};
    int m_previousWriteFd = -1;
    struct sigaction m_previous[3] = {};
    QSocketNotifier* m_notifier = nullptr;
};
