#pragma once

#include <QString>

class ClickLabel;
class EtchedRule;
class Form1;
class PanelStatusBar;
class QAction;
class QGroupBox;
class QMenu;
class QWidget;
class SnippetCombo;
class TargetIcon;

/**
 * The main window's controls and menus, built and placed from the design's twips table, as a
 * generated form class holds them. Form1 inherits it and adds the behaviour.
 */
class Form1Ui
{
public:
    /** The message panel's tool tip while the window is full, and while it is shrunk. */
    static inline const QString ShrinkTip = QStringLiteral("Click here to shrink program.");
    static inline const QString RestoreTip = QStringLiteral("Click here to restore program.");

    /** Names the window, builds its controls and menus, places them and sets the tab order. */
    void setupUi(Form1* form);
    /** Sizes the client area and the window to a height in twips, the status bar at the bottom. */
    void fitHeight(Form1* form, double twips);

protected:
    QWidget* m_client = nullptr;
    EtchedRule* m_line1 = nullptr;
    QGroupBox* m_frame1 = nullptr;
    SnippetCombo* m_combo1 = nullptr;
    TargetIcon* m_image[4] = {};
    ClickLabel* m_label[3] = {};
    QWidget* m_label4 = nullptr;
    PanelStatusBar* m_statusBar1 = nullptr;

    QMenu* m_prog = nullptr;
    QMenu* m_abt = nullptr;
    QMenu* m_pop = nullptr;
    QMenu* m_pop2 = nullptr;
    QAction* m_onTop = nullptr;
    QAction* m_shoTask = nullptr;
    QAction* m_ext = nullptr;
    QAction* m_abquip = nullptr;
    QAction* m_vist = nullptr;
    QAction* m_rst = nullptr;
    QAction* m_ex = nullptr;
    QAction* m_mAdd = nullptr;
    QAction* m_mCreate = nullptr;

private:
    void buildControls(Form1* form);
    void buildMenus(Form1* form);
    void placeControls(Form1* form);
    void setTabOrderChain();
};
