#include "main_window/controls/PanelStatusBar.h"

#include "main_window/controls/StatusPanel.h"
#include "platform/Clock.h"

#include <QAccessible>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMouseEvent>

PanelStatusBar::PanelStatusBar(Clock& clock, QWidget* parent) : QFrame(parent), m_clock(clock)
{
    for (int i = 0; i < 2; ++i) {
        auto* panel = new StatusPanel(this);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        panel->setContentsMargins(2, 0, 2, 0);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        m_panels[i] = panel;
        connect(panel, &StatusPanel::pressed, this, [this, i] { Q_EMIT panelClicked(i + 1); });
    }
    m_panels[1]->setAlignment(Qt::AlignCenter);
    m_panels[0]->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    setAcceptDrops(true);
    // In the shrunk strip the bar covers the frame above it, so it paints its own background.
    setAutoFillBackground(true);

    // The clock panel shows the time by itself, like a time-style panel does.
    m_clockTimer.setInterval(1000);
    connect(&m_clockTimer, &QTimer::timeout, this, &PanelStatusBar::showTime);
    m_clockTimer.start();
    showTime();
}

QLabel* PanelStatusBar::panel(int index) const
{
    return (index >= 1 && index <= 2) ? m_panels[index - 1] : nullptr;
}

QString PanelStatusBar::panelText(int index) const
{
    const QLabel* label = panel(index);
    return label ? label->text() : QString();
}

void PanelStatusBar::setPanelText(int index, const QString& text)
{
    if (index == MessagePanel) {
        m_message = text;
        showMessage();
    } else if (QLabel* label = panel(index)) {
        label->setText(text);
    }
}

QString PanelStatusBar::panelToolTip(int index) const
{
    const QLabel* label = panel(index);
    return label ? label->toolTip() : QString();
}

void PanelStatusBar::setPanelToolTip(int index, const QString& tip)
{
    if (index == MessagePanel) {
        m_messageTip = tip;
        showMessage();
    } else if (QLabel* label = panel(index)) {
        label->setToolTip(tip);
        describePanel(index);
    }
}

void PanelStatusBar::setStandingMessage(const QString& text, const QString& tip)
{
    m_standingText = text;
    m_standingTip = text.isEmpty() ? QString() : tip;
    showMessage();
}

void PanelStatusBar::showMessage()
{
    QLabel* label = m_panels[0];
    const QString text = m_message.isEmpty() ? m_standingText : m_message;
    const bool changed = label->text() != text;
    label->setText(text);
    const QString tip = m_standingTip.isEmpty()
                            ? m_messageTip
                            : m_standingTip + QStringLiteral("\n\n") + m_messageTip;
    label->setToolTip(tip);
    describePanel(MessagePanel);
    if (changed && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void PanelStatusBar::setPanelKeys(int index, const QString& keys)
{
    if (index < 1 || index > 2)
        return;
    m_keys[index - 1] = keys;
    describePanel(index);
}

void PanelStatusBar::describePanel(int index)
{
    QLabel* label = panel(index);
    const QString& keys = m_keys[index - 1];
    label->setAccessibleDescription(keys.isEmpty() ? label->toolTip()
                                                   : label->toolTip() + u' ' + keys);
}

void PanelStatusBar::setPanelWidth(int index, int pixels)
{
    if (index < 1 || index > 2)
        return;
    m_widths[index - 1] = pixels;
    layoutPanels();
}

int PanelStatusBar::panelWidth(int index) const
{
    return (index >= 1 && index <= 2) ? m_widths[index - 1] : 0;
}

void PanelStatusBar::layoutPanels()
{
    const int h = height();
    const int first = qMin(m_widths[0], width());
    m_panels[0]->setGeometry(0, 0, first, h);
    m_panels[1]->setGeometry(first, 0, qMax(0, width() - first), h);
}

void PanelStatusBar::showTime()
{
    m_panels[1]->setText(m_clock.timeText());
}

void PanelStatusBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    for (int i = 0; i < 2; ++i) {
        if (m_panels[i]->geometry().contains(pos)) {
            Q_EMIT panelClicked(i + 1);
            return;
        }
    }
}

void PanelStatusBar::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    layoutPanels();
}

void PanelStatusBar::dragEnterEvent(QDragEnterEvent* event)
{
    Q_EMIT dragOver();
    // The status bar never takes a drop: the no-drop cursor shows.
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
}
