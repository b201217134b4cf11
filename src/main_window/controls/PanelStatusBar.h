#pragma once

#include <QFrame>
#include <QTimer>

class Clock;
class QLabel;
class StatusPanel;

/**
 * `StatusBar1`: a message panel (1) and a clock panel (2), counted from 1. A click on a panel,
 * or a press of a focused panel, is reported with its index; a drag passing over is reported
 * and never accepted. To assistive technology the bar is a status bar named by its message.
 */
class PanelStatusBar : public QFrame
{
    Q_OBJECT
public:
    static constexpr int MessagePanel = 1;
    static constexpr int ClockPanel = 2;

    PanelStatusBar(Clock& clock, QWidget* parent = nullptr);

    QString panelText(int index) const;
    /** Only the message panel is ever written; the clock keeps itself current. A new message
     *  is announced to assistive technology as the bar's new name. */
    void setPanelText(int index, const QString& text);
    QString panelToolTip(int index) const;
    void setPanelToolTip(int index, const QString& tip);
    /** The keys that press a panel, told to assistive technology after the tool tip. */
    void setPanelKeys(int index, const QString& keys);
    /** Panel width in pixels; the last panel takes what is left. */
    void setPanelWidth(int index, int pixels);
    int panelWidth(int index) const;
    QLabel* panel(int index) const;
    /**
     * A text the message panel shows whenever it has no message of its own, and a tool tip put
     * before the panel's own; an empty text ends it.
     */
    void setStandingMessage(const QString& text, const QString& tip);

Q_SIGNALS:
    void panelClicked(int index);
    void dragOver();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;

private:
    void layoutPanels();
    void showTime();
    void showMessage();
    void describePanel(int index);

    Clock& m_clock;
    StatusPanel* m_panels[2];
    int m_widths[2] = {96, 96};
    QString m_keys[2];
    QTimer m_clockTimer;
    QString m_message;
    QString m_messageTip;
    QString m_standingText;
    QString m_standingTip;
};
