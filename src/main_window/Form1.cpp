#include "main_window/Form1.h"

#include "core/compat/TrayMessageDecoder.h"
#include "core/compat/Twips.h"
#include "core/list/FindEntry.h"
#include "core/settings/SettingsCodec.h"
#include "core/store/StoreFile.h"
#include "help_window/Form2.h"
#include "help_window/HomepageOpener.h"
#include "main_window/SnippetCombo.h"
#include "main_window/StoreLoadGate.h"
#include "main_window/controls/AccessibleFactory.h"
#include "main_window/controls/CheckMarkEvent.h"
#include "main_window/controls/ClickLabel.h"
#include "main_window/controls/PanelStatusBar.h"
#include "main_window/controls/TargetIcon.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/GlobalShortcut.h"
#include "platform/InstallLayout.h"
#include "platform/MessageBox.h"
#include "platform/PopupMenuHost.h"
#include "platform/ProgramInfo.h"
#include "platform/SettingsStore.h"
#include "platform/SingleInstance.h"
#include "platform/TopmostPlacement.h"
#include "platform/TrayArea.h"

#include <QCloseEvent>
#include <QDir>
#include <QDrag>
#include <QGroupBox>
#include <QMimeData>
#include <QScreen>

namespace {

const QString NotSavedText = QStringLiteral("List not saved");

} // namespace

Form1::Form1(PlatformServices services, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      m_services(services), m_write(services.settings, services.saveDialog, services.program),
      m_homepage(std::make_unique<HomepageOpener>(services.urls, services.messages,
                                                  services.program.title())),
      m_session(m_list)
{
    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(1000);
    AccessibleFactory::install();
    setupUi(this);
    connectEvents();
    setHeight(FullHeight);
}

Form1::~Form1() = default;

void Form1::connectEvents()
{
    connect(&m_timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(&m_session, &StoreSession::saveStateChanged, this, &Form1::showSaveState);
    connect(&m_session, &StoreSession::unreadable, this, &Form1::store_Unreadable);
    connect(&m_session, &StoreSession::conflictCopyMerged, this, &Form1::store_ConflictCopyMerged);

    connect(m_combo1, &SnippetCombo::dragStarting, this, &Form1::Combo1_OLEStartDrag);
    connect(m_combo1, &SnippetCombo::dragOver, this, &Form1::Combo1_OLEDragOver);
    connect(m_combo1, &SnippetCombo::dropped, this, &Form1::Combo1_OLEDragDrop);

    const QString hints[4] = {QStringLiteral("Drop here to copy to clipboard"),
                              QStringLiteral("Drop here to add to Quippet"),
                              QStringLiteral("Drop here to remove from Quippet"),
                              QStringLiteral("Drop here to write to file")};
    for (int i = 0; i < 4; ++i) {
        connect(m_image[i], &TargetIcon::clicked, this, &Form1::Image_Click);
        connect(m_image[i], &TargetIcon::dragOver, this,
                [this, hint = hints[i]](DragOverState state) { Image_OLEDragOver(state, hint); });
    }
    for (ClickLabel* label : m_label)
        connect(label, &ClickLabel::clicked, this, &Form1::Image_Click);

    connect(m_image[0], &TargetIcon::doubleClicked, this, &Form1::Image1_DblClick);
    connect(m_image[0], &TargetIcon::dropped, this, &Form1::Image1_OLEDragDrop);
    connect(m_image[0], &TargetIcon::dragRequested, this, &Form1::Image1_MouseMove);
    connect(m_image[1], &TargetIcon::doubleClicked, this, &Form1::Image2_DblClick);
    connect(m_image[1], &TargetIcon::dropped, this, &Form1::Image2_OLEDragDrop);
    connect(m_image[2], &TargetIcon::doubleClicked, this, &Form1::Image3_DblClick);
    connect(m_image[2], &TargetIcon::dropped, this, &Form1::Image3_OLEDragDrop);
    // Queued: the Write menu and its save dialog are modal. Run inside the drop they would keep
    // the drag source waiting for the drop to finish, and inside the icon's mouse handler they
    // would take the rest of its click.
    connect(m_image[3], &TargetIcon::doubleClicked, this, &Form1::Image4_DblClick,
            Qt::QueuedConnection);
    connect(m_image[3], &TargetIcon::dropped, this, &Form1::Image4_OLEDragDrop,
            Qt::QueuedConnection);

    connect(m_statusBar1, &PanelStatusBar::panelClicked, this, &Form1::StatusBar1_PanelClick);
    connect(m_statusBar1, &PanelStatusBar::dragOver, this, &Form1::StatusBar1_OLEDragOver);

    connect(m_onTop, &QAction::triggered, this, &Form1::OnTop_Click);
    connect(m_shoTask, &QAction::triggered, this, &Form1::ShoTask_Click);
    connect(m_ext, &QAction::triggered, this, &QWidget::close);
    connect(m_ex, &QAction::triggered, this, &QWidget::close);
    connect(m_rst, &QAction::triggered, this, &Form1::rst_Click);
    connect(m_abquip, &QAction::triggered, this, &Form1::abquip_Click);
    connect(m_vist, &QAction::triggered, this, &Form1::vist_Click);
    connect(m_mAdd, &QAction::triggered, this, &Form1::mAdd_Click);
    connect(m_mCreate, &QAction::triggered, this, &Form1::mCreate_Click);

    connect(&m_services.tray, &TrayArea::mouseMessage, this,
            [this](int number) { Form_MouseMove(number * twipsPerPixelX()); });
    m_services.tray.setMenu(m_pop);
    connect(&m_services.shortcut, &GlobalShortcut::activated, this, &Form1::toggleWindow);
    connect(&m_services.instance, &SingleInstance::showRequested, this,
            &Form1::instance_ShowRequested);
    connect(&m_services.instance, &SingleInstance::toggleRequested, this, &Form1::toggleWindow);
    // Direct: the reply is read as soon as the signal returns.
    connect(&m_services.instance, &SingleInstance::listCommandReceived, this,
            &Form1::instance_ListCommand, Qt::DirectConnection);

    connect(&m_list, &QAbstractItemModel::rowsInserted, &m_session, &StoreSession::listChanged);
    connect(&m_list, &QAbstractItemModel::rowsRemoved, &m_session, &StoreSession::listChanged);
}

// ---------------------------------------------------------------- geometry

double Form1::twipsPerPixelX() const
{
    return Twips::perPixel(logicalDpiX());
}

double Form1::twipsPerPixelY() const
{
    return Twips::perPixel(logicalDpiY());
}

void Form1::setHeight(double twips)
{
    m_height = twips;
    fitHeight(this, twips);
}

double Form1::Left() const
{
    return frameGeometry().x() * twipsPerPixelX();
}

double Form1::Top() const
{
    return frameGeometry().y() * twipsPerPixelY();
}

double Form1::Width() const
{
    return frameGeometry().width() * twipsPerPixelX();
}

// ---------------------------------------------------------------- start-up and shut-down

bool Form1::Form_Load()
{
    if (m_services.instance.otherInstanceRunning())
        return false;

    readStartupSettings();
    m_declares.TrayIcon = TrayIconRecord::forWindow(
        static_cast<std::uint32_t>(winId()), static_cast<std::uint32_t>(windowIcon().cacheKey()),
        m_services.program.title());

    m_todayText = m_services.clock.todayText();
    m_list.append(m_todayText);

    // A window that will show is seen before the store is read; only a start in the notification
    // area needs the load's outcome now.
    if (m_loadAfterPaint && !(m_shoTask->isChecked() && m_services.tray.available())) {
        m_storeGate = std::make_unique<StoreLoadGate>([this] { loadStore(); });
        return true;
    }
    const StoreFile::LoadResult loaded = loadStore();
    if (loaded != StoreFile::LoadResult::Loaded)
        return true;

    if (m_shoTask->isChecked() && windowState() == Qt::WindowNoState &&
        m_services.tray.available()) {
        m_services.tray.notifyIcon(TrayArea::NimAdd, m_declares.TrayIcon);
        hide();
        m_startInTray = true;
    }
    return true;
}

void Form1::ensureStoreLoaded()
{
    if (m_storeGate)
        m_storeGate->open();
}

StoreFile::LoadResult Form1::loadStore()
{
    const StoreFile::LoadResult loaded =
        m_session.start(InstallLayout::storePath(m_services.program), m_todayText);
    m_loaded = true;
    // A store that did not load whole is never a silent empty list.
    if (!m_session.loadWarning().isEmpty())
        m_services.messages.show(this, m_session.loadWarning(), MessageBox::Exclamation,
                                 m_services.program.title());
    return loaded;
}

void Form1::readStartupSettings()
{
    SettingsStore& settings = m_services.settings;
    setHeight(SettingsCodec::heightFromText(settings.readSetting(
        SettingsCodec::Height, QString::number(SettingsCodec::DefaultHeight))));
    m_declares.SavedHeight = Twips::roundHalfEven(Height());
    m_statusBar1->setPanelWidth(PanelStatusBar::MessagePanel,
                                Twips::toPixels(2920, twipsPerPixelX()));
    m_statusBar1->setPanelWidth(PanelStatusBar::ClockPanel, Twips::toPixels(900, twipsPerPixelX()));
    m_shoTask->setChecked(SettingsCodec::boolFromText(
        settings.readSetting(SettingsCodec::Taskbar, SettingsCodec::textFromBool(false))));
    m_onTop->setChecked(SettingsCodec::boolFromText(
        settings.readSetting(SettingsCodec::Top, SettingsCodec::textFromBool(false))));
    m_services.shortcut.setKey(
        settings.readSetting(SettingsCodec::Hotkey, SettingsCodec::DefaultHotkey));
}

void Form1::store_Unreadable(const QString& path)
{
    // The store has already kept the bytes aside where it could; say which way it went.
    const QString outcome =
        m_session.savesAllowed()
            ? QStringLiteral("Its contents were kept aside; Quippet keeps its list and saves it "
                             "there.")
            : QStringLiteral("It could not be kept aside, so Quippet keeps its list but does not "
                             "save over the file in this session.");
    m_services.messages.show(
        this,
        QStringLiteral("%1\nwas changed by another program but cannot be read.\n\n%2")
            .arg(QDir::toNativeSeparators(path), outcome),
        MessageBox::Exclamation, m_services.program.title());
}

void Form1::showSaveState()
{
    // Shown whenever the panel has nothing else to say, until a save gets through.
    const QString tip = QStringLiteral("The snippet list could not be saved to\n%1\nReason: %2\n"
                                       "%3 tries again after the next change and every %4 "
                                       "seconds.")
                            .arg(QDir::toNativeSeparators(m_session.path()),
                                 m_session.failureReason(), m_services.program.title())
                            .arg(BackgroundSave::RetryMs / 1000);
    m_statusBar1->setStandingMessage(m_session.saveFailed() ? NotSavedText : QString(), tip);
}

void Form1::Form_Unload()
{
    ensureStoreLoaded();
    if (m_unloaded || !m_loaded)
        return;
    m_unloaded = true;
    m_session.finish([this](const QString& reason) { return store_AskRetry(reason); });

    SettingsStore& settings = m_services.settings;
    settings.writeSetting(SettingsCodec::Height,
                          SettingsCodec::textFromHeight(m_declares.SavedHeight));
    settings.writeSetting(SettingsCodec::Top, SettingsCodec::textFromBool(m_onTop->isChecked()));
    settings.writeSetting(SettingsCodec::Taskbar,
                          SettingsCodec::textFromBool(m_shoTask->isChecked()));
    m_services.tray.notifyIcon(TrayArea::NimDelete, m_declares.TrayIcon);
    Q_EMIT ended();
}

void Form1::store_ConflictCopyMerged()
{
    setStatusMessage(QStringLiteral("Conflict copy merged"));
    StartTimer1();
}

bool Form1::store_AskRetry(const QString& reason)
{
    const QString prompt = QStringLiteral("The snippet list could not be saved to\n%1\n\n%2\n\n"
                                          "Retry, or discard the changes since the last save?")
                               .arg(QDir::toNativeSeparators(m_session.path()), reason);
    return m_services.messages.askRetry(this, prompt, m_services.program.title());
}

void Form1::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

// ---------------------------------------------------------------- status line

void Form1::setStatusMessage(const QString& text)
{
    m_statusBar1->setPanelText(PanelStatusBar::MessagePanel, text);
}

void Form1::StartTimer1()
{
    // A start while running keeps the running countdown: the tick is never postponed.
    if (!m_timer1.isActive())
        m_timer1.start();
}

void Form1::Timer1_Timer()
{
    setStatusMessage(QString());
    m_timer1.stop();
}

void Form1::Combo1_OLEDragOver(DragOverState state)
{
    if (state == DragOverState::Leave) {
        setStatusMessage(QString());
        return;
    }
    setStatusMessage(QStringLiteral("Drop into textbox"));
    StartTimer1();
}

void Form1::Image_OLEDragOver(DragOverState state, const QString& hint)
{
    setStatusMessage(state == DragOverState::Leave ? QString() : hint);
}

// ---------------------------------------------------------------- working text

QString Form1::workingText() const
{
    return m_combo1->text();
}

void Form1::setWorkingText(const QString& text)
{
    m_combo1->setText(text);
}

void Form1::selectWorkingText()
{
    m_combo1->setSelection(0, static_cast<int>(workingText().size()));
}

void Form1::Image_Click()
{
    selectWorkingText();
}

void Form1::Combo1_OLEStartDrag(QMimeData* dragData, Qt::DropActions* allowedEffects)
{
    *allowedEffects = Qt::MoveAction;
    dragData->setText(workingText());
}

void Form1::Combo1_OLEDragDrop(const QString& text)
{
    setWorkingText(text);
    selectWorkingText();
}

// ---------------------------------------------------------------- Copy, Add, Remove

void Form1::Image1_DblClick()
{
    const QString clip = m_services.clipboard.text();
    const QString text = workingText();
    if (text != clip && !text.isEmpty()) {
        m_services.clipboard.clear();
        m_services.clipboard.setText(text);
        setStatusMessage(QStringLiteral("Text copied to clipboard"));
    }
    StartTimer1();
    setWorkingText(QString());
}

void Form1::Image1_OLEDragDrop(const QString& text)
{
    if (text != m_services.clipboard.text()) {
        m_services.clipboard.clear();
        m_services.clipboard.setText(text);
        setStatusMessage(QStringLiteral("Text copied to clipboard"));
    }
    StartTimer1();
}

void Form1::Image1_MouseMove()
{
    auto* dragData = new QMimeData;
    dragData->setText(m_services.clipboard.text());
    auto* drag = new QDrag(m_image[0]);
    drag->setMimeData(dragData);
    drag->exec(Qt::CopyAction);
}

void Form1::appendEntry(const QString& text)
{
    // The list never grows past what a signed 16-bit count can name.
    if (m_list.count() >= SnippetList::MaxEntries) {
        setStatusMessage(QStringLiteral("List is full"));
        return;
    }
    m_list.append(text);
    setStatusMessage(QStringLiteral("Text added"));
}

void Form1::Image2_DblClick()
{
    const QString text = workingText();
    int index = 0;
    bool found = false;
    FindEntry(m_list, text, index, found);
    if (!text.isEmpty() && !found)
        appendEntry(text);
    StartTimer1();
    setWorkingText(QString());
}

void Form1::Image2_OLEDragDrop(const QString& text)
{
    int index = 0;
    bool found = false;
    FindEntry(m_list, text, index, found);
    if (!found)
        appendEntry(text);
    StartTimer1();
}

void Form1::Image3_DblClick()
{
    const QString text = workingText();
    int index = 0;
    bool found = false;
    FindEntry(m_list, text, index, found);
    if (!text.isEmpty() && found) {
        m_list.removeAt(index);
        setStatusMessage(QStringLiteral("Text removed"));
    }
    StartTimer1();
}

void Form1::Image3_OLEDragDrop(const QString& text)
{
    // The dropped text is what the user pointed at; the box may hold another entry.
    int index = 0;
    bool found = false;
    FindEntry(m_list, text, index, found);
    if (found) {
        m_list.removeAt(index);
        setStatusMessage(QStringLiteral("Text removed"));
    }
    StartTimer1();
}

// ---------------------------------------------------------------- Write

void Form1::Image4_DblClick()
{
    if (workingText().isEmpty())
        return;
    m_pendingText = workingText();
    // Started from the keyboard, the menu opens under the icon rather than at the pointer.
    m_services.menus.popup(m_image[3], m_pop2);
}

void Form1::Image4_OLEDragDrop(const QString& text)
{
    m_pendingText = text;
    m_services.menus.popup(this, m_pop2);
}

void Form1::mAdd_Click()
{
    reportWrite(m_write.addTextToFile(this, m_pendingText, m_targetFile));
}

void Form1::mCreate_Click()
{
    reportWrite(m_write.createNewFile(this, m_pendingText, m_targetFile));
}

void Form1::reportWrite(bool written)
{
    // A failure (Cancel included) only starts the timer: no message, the box keeps its text.
    if (written)
        setStatusMessage(QStringLiteral("Text written"));
    StartTimer1();
    if (written)
        setWorkingText(QString());
}

// ---------------------------------------------------------------- shrink, restore, time stamp

void Form1::setFullState(bool full)
{
    m_statusBar1->setPanelToolTip(PanelStatusBar::MessagePanel, full ? ShrinkTip : RestoreTip);
    setHeight(full ? FullHeight : ShrunkHeight);
    m_declares.SavedHeight = full ? FullHeight : ShrunkHeight;
    // The strip hides the box and the icons: neither may keep or take the keyboard focus.
    m_frame1->setEnabled(full);
}

void Form1::StatusBar1_PanelClick(int index)
{
    if (index == PanelStatusBar::MessagePanel) {
        // Exactly 2600 is the full state; any other height takes the restore branch.
        setFullState(Height() != FullHeight);
        return;
    }
    setWorkingText(m_services.clock.timeText());
    selectWorkingText();
}

void Form1::StatusBar1_OLEDragOver()
{
    if (Height() != FullHeight)
        setFullState(true);
}

// ---------------------------------------------------------------- always on top

void Form1::SetOnTop(QWidget* window, int flag)
{
    const int insertAfter =
        flag == -1 ? TopmostPlacement::HwndTopmost : TopmostPlacement::HwndNoTopmost;
    const double tx = twipsPerPixelX();
    const double ty = twipsPerPixelY();
    const int x = Twips::toPixels(Left(), tx);
    const int y = Twips::toPixels(Top(), ty);
    const int cx = Twips::toPixels(Width(), tx);
    const int cy = Twips::toPixels(Height(), ty);
    m_services.topmost.setWindowPos(window, insertAfter, x, y, cx, cy,
                                    TopmostPlacement::SwpShowWindow |
                                        TopmostPlacement::SwpNoActivate);
}

void Form1::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    ++m_paints;
    Form_Paint();
}

void Form1::Form_Paint()
{
    m_onTopFlag = m_onTop->isChecked() ? -1 : 0;
    SetOnTop(this, m_onTopFlag);
}

void Form1::Refresh()
{
    const int before = m_paints;
    if (isVisible())
        repaint();
    // A window that is not on screen does not paint; the wish must still be applied.
    if (m_paints == before)
        Form_Paint();
}

void Form1::OnTop_Click()
{
    // The menu item has already flipped its own check mark.
    m_onTopFlag = m_onTop->isChecked() ? -1 : 0;
    Refresh();
    CheckMarkEvent::send(*m_prog, *m_onTop);
}

// ---------------------------------------------------------------- notification area

void Form1::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void Form1::Form_Resize()
{
    // Without a notification area the window stays an ordinary minimised window,
    // so it can never become unreachable.
    if (m_shoTask->isChecked() && isMinimized() && m_services.tray.available()) {
        m_services.tray.notifyIcon(TrayArea::NimAdd, m_declares.TrayIcon);
        // Hidden once the state change is complete: a minimise that is still showing the
        // window would otherwise show it again right after.
        QTimer::singleShot(0, this, [this] {
            if (isMinimized())
                hide();
        });
    }
}

void Form1::Form_MouseMove(double xTwips)
{
    switch (TrayMessageDecoder::decode(xTwips, twipsPerPixelX())) {
    case TrayMessageDecoder::Action::Restore:
        rst_Click();
        break;
    case TrayMessageDecoder::Action::PopupMenu:
        m_services.menus.popup(this, m_pop);
        break;
    case TrayMessageDecoder::Action::None:
        break;
    }
}

void Form1::rst_Click()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    m_services.tray.notifyIcon(TrayArea::NimDelete, m_declares.TrayIcon);
    show();
    m_services.topmost.activate(this);
}

void Form1::ShoTask_Click()
{
    // Only the check mark changes; it takes effect at the next minimise or start.
    CheckMarkEvent::send(*m_prog, *m_shoTask);
}

void Form1::instance_ShowRequested()
{
    rst_Click();
}

void Form1::instance_ListCommand(ListCommand::Kind kind, const QString& text,
                                 SingleInstance::ListReply* reply)
{
    ensureStoreLoaded();
    // Once the list is saved for the last time it is not the one to change: the caller hears
    // no answer and says so.
    if (m_unloaded)
        return;
    reply->answered = true;
    if (kind == ListCommand::Kind::List) {
        reply->entries = ListCommand::entries(m_list, m_todayText);
        return;
    }
    // Shown as after a drop on the Add or Remove target; the autosave writes the change.
    reply->result = ListCommand::apply(kind, m_list, text);
    const QString status =
        reply->result.changed ? reply->result.message : reply->result.statusMessage;
    if (!status.isEmpty())
        setStatusMessage(status);
    StartTimer1();
}

void Form1::showWindow()
{
    rst_Click();
    // Typing starts filtering at once.
    m_combo1->setFocus(Qt::ActiveWindowFocusReason);
    selectWorkingText();
}

void Form1::toggleWindow()
{
    if (isVisible() && !isMinimized() && isActiveWindow()) {
        // The state change runs Form_Resize, which moves the window into the notification area
        // when Show In Taskbar is checked.
        setWindowState(windowState() | Qt::WindowMinimized);
        return;
    }
    showWindow();
}

// ---------------------------------------------------------------- about and homepage

void Form1::abquip_Click()
{
    SetOnTop(this, 0);
    Form2 about(m_services.program, m_services.urls, m_services.messages, this);
    about.exec();
}

void Form1::vist_Click()
{
    m_homepage->OpenWebsite(this, HomepageOpener::Address);
}
