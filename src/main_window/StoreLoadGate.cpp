#include "main_window/StoreLoadGate.h"

#include <QCoreApplication>
#include <QEvent>
#include <utility>

StoreLoadGate::StoreLoadGate(std::function<void()> load) : m_load(std::move(load))
{
    // On the application: input for a pop-up or a dialog needs the list as much as the window's.
    QCoreApplication::instance()->installEventFilter(this);
}

StoreLoadGate::~StoreLoadGate()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

void StoreLoadGate::open()
{
    if (!m_load)
        return;
    QCoreApplication::instance()->removeEventFilter(this);
    const auto load = std::exchange(m_load, nullptr);
    load();
}

bool StoreLoadGate::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Paint:
        // Queued: the paint reaches the screen first.
        QMetaObject::invokeMethod(this, &StoreLoadGate::open, Qt::QueuedConnection);
        break;
    // Each of the user's ways in starts with one of these. A key that is a shortcut is offered as
    // an override only; a key with no focus widget to offer it to comes as a press only.
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::DragEnter:
        open();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
