#include "core/sync/BackgroundSave.h"

#include <utility>

BackgroundSave::BackgroundSave(SaveFunction save, QObject* parent)
    : BackgroundSave(StartFunction([this, save = std::move(save)] {
                         QString error;
                         const bool saved = save(&error);
                         finished(saved, error);
                     }),
                     parent)
{
}

BackgroundSave::BackgroundSave(StartFunction start, QObject* parent)
    : QObject(parent), m_start(std::move(start))
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(DelayMs);
    m_retry.setInterval(RetryMs);
    connect(&m_delay, &QTimer::timeout, this, &BackgroundSave::saveNow);
    connect(&m_retry, &QTimer::timeout, this, &BackgroundSave::saveNow);
}

void BackgroundSave::schedule()
{
    if (!m_stopped)
        m_delay.start();
}

void BackgroundSave::stop()
{
    m_stopped = true;
    m_delay.stop();
    m_retry.stop();
}

void BackgroundSave::saveNow()
{
    if (!m_stopped)
        m_start();
}

void BackgroundSave::finished(bool saved, const QString& reason)
{
    if (m_stopped)
        return;
    if (saved)
        m_retry.stop();
    else if (!m_retry.isActive())
        m_retry.start(); // a save after a change does not postpone the next retry
    if (saved && !m_failed)
        return;
    m_failed = !saved;
    m_reason = saved ? QString() : reason;
    Q_EMIT outcomeChanged();
}
