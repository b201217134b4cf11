#include "platform/qt/QtTopmostPlacement.h"

#include "platform/qt/X11StartupId.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

bool QtTopmostPlacement::supported() const
{
    // Wayland compositors do not let a client put itself above others.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void QtTopmostPlacement::setWindowPos(QWidget* window, int insertAfter, int x, int y, int cx,
                                      int cy, unsigned flags)
{
    // The rectangle is always the window's own, so only the band changes; moving or
    // resizing here would fight the window manager's frame placement.
    Q_UNUSED(x)
    Q_UNUSED(y)
    Q_UNUSED(cx)
    Q_UNUSED(cy)

    window->winId();
    QWindow* handle = window->windowHandle();
    const bool topmost = insertAfter == HwndTopmost;

    // QWidget::setWindowFlags would hide and re-create the native window, so the hint is
    // set on the QWindow and only recorded on the widget.
    const Qt::WindowFlags widgetFlags =
        window->windowFlags().setFlag(Qt::WindowStaysOnTopHint, topmost);
    if (widgetFlags != window->windowFlags())
        window->overrideWindowFlags(widgetFlags);
    if (handle != nullptr) {
        const Qt::WindowFlags handleFlags =
            handle->flags().setFlag(Qt::WindowStaysOnTopHint, topmost);
        if (handleFlags != handle->flags())
            handle->setFlags(handleFlags);
    }

    if ((flags & SwpShowWindow) != 0 && !window->isVisible()) {
        const bool noActivate = (flags & SwpNoActivate) != 0;
        const bool hadAttribute = window->testAttribute(Qt::WA_ShowWithoutActivating);
        window->setAttribute(Qt::WA_ShowWithoutActivating, noActivate || hadAttribute);
        window->show();
        window->setAttribute(Qt::WA_ShowWithoutActivating, hadAttribute);
    }
}

void QtTopmostPlacement::activate(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    if (QWindow* handle = window->windowHandle()) {
        // On Wayland Qt spends an XDG_ACTIVATION_TOKEN handed over by a later start here.
        handle->requestActivate();
        X11StartupId::spend(handle);
    }
}
