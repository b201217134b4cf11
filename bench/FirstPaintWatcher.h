#pragma once

#include <QEvent>
#include <QObject>
#include <functional>
#include <utility>

/**
 * Calls `onPaint` once, when the watched widget receives its first paint event. The paint
 * itself runs after the callback; a zero timer started from it fires once the paint is done.
 */
class FirstPaintWatcher : public QObject
{
public:
    explicit FirstPaintWatcher(std::function<void()> onPaint) : m_onPaint(std::move(onPaint)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && m_onPaint) {
            const auto once = std::move(m_onPaint);
            m_onPaint = nullptr;
            once();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_onPaint;
};
