#pragma once

#include "core/sync/StoreSession.h"
#include "main_window/Declares.h"
#include "main_window/Form1Ui.h"
#include "main_window/SnippetListModel.h"
#include "main_window/WriteCommands.h"
#include "main_window/controls/DragOverState.h"
#include "platform/PlatformServices.h"
#include "platform/SingleInstance.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

class HomepageOpener;
class QMimeData;
class StoreLoadGate;

/**
 * The main window: the snippet combo box, four target icons, the status bar and the menus.
 * Form1Ui builds and places them; each control event runs one short event procedure here, and
 * the work behind them lives in core and platform classes.
 */
class Form1 : public QMainWindow, private Form1Ui
{
    Q_OBJECT
public:
    /** Design-time heights in twips. */
    static constexpr int FullHeight = 2600;
    static constexpr int ShrunkHeight = 1030;
    /** Title bar, menu bar and borders, as the design measures them. */
    static constexpr int NonClientTwips = 665;

    explicit Form1(PlatformServices services, QWidget* parent = nullptr);
    ~Form1() override;

    /**
     * Start-up of a window that will show leaves the store to be read right after its first
     * paint, or at the first input before that. Without it, start-up reads the store at its step.
     */
    void setStoreLoadAfterFirstPaint(bool after) { m_loadAfterPaint = after; }
    /** The start-up sequence. False when this process must end at once (second instance). */
    bool Form_Load();
    /** The shut-down sequence; runs once, on every way of closing the window. */
    void Form_Unload();
    /** True when start-up moved the window into the notification area. */
    bool startsInNotificationArea() const { return m_startInTray; }

    /** Window height in twips; reads back exactly the value last set. */
    double Height() const { return m_height; }
    void setHeight(double twips);
    /** Window position and width in twips, from the pixel geometry. */
    double Left() const;
    double Top() const;
    double Width() const;
    /** Twips per pixel of the window's screen. */
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;

    /** Places the window into (flag -1) or out of the topmost band without moving it. */
    void SetOnTop(QWidget* window, int flag);
    /** Repaints at once; every paint re-applies the topmost wish. */
    void Refresh();

    /** The notification-area callback, x in twips as a mouse move would carry it. */
    void Form_MouseMove(double xTwips);

    const Declares& declares() const { return m_declares; }
    QString TodayText() const { return m_todayText; }
    QString PendingText() const { return m_pendingText; }
    QString TargetFile() const { return m_targetFile; }
    int OnTopFlag() const { return m_onTopFlag; }
    SnippetListModel& list() { return m_list; }
    QTimer& Timer1() { return m_timer1; }
    /** The delay after a list change before the list is saved. */
    QTimer& autosaveTimer() { return m_session.backgroundSave().delayTimer(); }
    BackgroundSave& backgroundSave() { return m_session.backgroundSave(); }

public Q_SLOTS:
    /**
     * Restores the window from the notification area or the minimised state, raises and
     * activates it, with the focus in the box and its text selected.
     */
    void showWindow();
    /** `showWindow`, unless the window is the active one: then minimised as its button does. */
    void toggleWindow();

Q_SIGNALS:
    /** The program has finished its shut-down and should end now. */
    void ended();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // setupUi builds the combo box over the list, the status bar over the clock, and greys out
    // Always On Top where the desktop cannot keep a window on top.
    friend class Form1Ui;

    void connectEvents();

    void setStatusMessage(const QString& text);
    void StartTimer1();
    void selectWorkingText();
    QString workingText() const;
    void setWorkingText(const QString& text);
    void setFullState(bool full);
    void appendEntry(const QString& text);
    void reportWrite(bool written);
    void showSaveState();
    void readStartupSettings();
    /** Starts the store's session, and warns when the store did not load whole. */
    StoreFile::LoadResult loadStore();
    /** Loads the store now when start-up left it for later. */
    void ensureStoreLoaded();
    void store_Unreadable(const QString& path);
    bool store_AskRetry(const QString& reason);
    void store_ConflictCopyMerged();

    // Event procedures.
    void Form_Paint();
    void Form_Resize();
    void Timer1_Timer();
    void Combo1_OLEStartDrag(QMimeData* dragData, Qt::DropActions* allowedEffects);
    void Combo1_OLEDragOver(DragOverState state);
    void Combo1_OLEDragDrop(const QString& text);
    void Image_OLEDragOver(DragOverState state, const QString& hint);
    void Image_Click();
    void Image1_DblClick();
    void Image1_OLEDragDrop(const QString& text);
    void Image1_MouseMove();
    void Image2_DblClick();
    void Image2_OLEDragDrop(const QString& text);
    void Image3_DblClick();
    void Image3_OLEDragDrop(const QString& text);
    void Image4_DblClick();
    void Image4_OLEDragDrop(const QString& text);
    void mAdd_Click();
    void mCreate_Click();
    void StatusBar1_PanelClick(int index);
    void StatusBar1_OLEDragOver();
    void OnTop_Click();
    void ShoTask_Click();
    void rst_Click();
    void abquip_Click();
    void vist_Click();
    void instance_ShowRequested();
    void instance_ListCommand(ListCommand::Kind kind, const QString& text,
                              SingleInstance::ListReply* reply);

    PlatformServices m_services;
    Declares m_declares;
    SnippetListModel m_list;
    WriteCommands m_write;
    std::unique_ptr<HomepageOpener> m_homepage;
    std::unique_ptr<StoreLoadGate> m_storeGate;
    QTimer m_timer1;
    StoreSession m_session;

    QString m_todayText;
    QString m_pendingText;
    QString m_targetFile;
    int m_onTopFlag = 0;
    double m_height = FullHeight;
    bool m_loadAfterPaint = false;
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_startInTray = false;
    int m_paints = 0;
};
