#include "platform/qt/ShutdownSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int HandledSignals[3] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

std::atomic<int> ShutdownSignals::s_writeFd{-1};

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, m_fds) != 0)
        return;
    // The handler must never block, even when nobody reads for a while.
    ::fcntl(m_fds[0], F_SETFL, ::fcntl(m_fds[0], F_GETFL) | O_NONBLOCK);
    ::fcntl(m_fds[1], F_SETFL, ::fcntl(m_fds[1], F_GETFL) | O_NONBLOCK);
    m_previousWriteFd = s_writeFd.exchange(m_fds[0]);

    m_notifier = new QSocketNotifier(m_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ShutdownSignals::drain);

    struct sigaction action = {};
    action.sa_handler = &ShutdownSignals::handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i)
        ::sigaction(HandledSignals[i], &action, &m_previous[i]);
}

ShutdownSignals::~ShutdownSignals()
{
    if (m_notifier == nullptr)
        return;
    for (int i = 0; i < 3; ++i)
        ::sigaction(HandledSignals[i], &m_previous[i], nullptr);
    s_writeFd.store(m_previousWriteFd);
    delete m_notifier;
    ::close(m_fds[0]);
    ::close(m_fds[1]);
}

void ShutdownSignals::handleSignal(int number)
{
    const int savedErrno = errno;
    const int fd = s_writeFd.load();
    if (fd >= 0) {
        const char byte = static_cast<char>(number);
        const ssize_t written = ::write(fd, &byte, 1);
        static_cast<void>(written);
    }
    errno = savedErrno;
}

void ShutdownSignals::drain()
{
    char buffer[16];
    bool received = false;
    while (::read(m_fds[1], buffer, sizeof buffer) > 0)
        received = true;
    if (received)
        Q_EMIT shutdownRequested();
}
