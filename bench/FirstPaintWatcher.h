#pragma once

#include <QEvent>
#include <QObject>
#include <functional>
#include <utility>

/**
 * Calls `onPaint` once, when `widget` receives its first paint event. The paint itself runs
 * after the callback; a zero timer started from it fires once the paint is done. Install it on
 * the widget or, to see the paint before the application's other filters, on the application.
 */
class FirstPaintWatcher : public QObject
{
public:
    FirstPaintWatcher(const QObject* widget, std::function<void()> onPaint)
        : m_widget(widget), m_onPaint(std::move(onPaint))
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_widget && event->type() == QEvent::Paint && m_onPaint) {
            const auto once = std::move(m_onPaint);
            m_onPaint = nullptr;
            once();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QObject* m_widget;
    std::function<void()> m_onPaint;
};
