#include "main_window/Form1Ui.h"

#include "core/compat/Twips.h"
#include "main_window/Form1.h"
#include "main_window/SnippetCombo.h"
#include "main_window/controls/ClickLabel.h"
#include "main_window/controls/EtchedRule.h"
#include "main_window/controls/PanelStatusBar.h"
#include "main_window/controls/TargetIcon.h"
#include "platform/TopmostPlacement.h"

#include <QGroupBox>
#include <QIcon>
#include <QLoggingCategory>
#include <QMenuBar>
#include <iterator>

namespace {

// Silent unless QT_LOGGING_RULES asks for it ("quippet.window.info=true"): the end-to-end tests
// read what the window system let the program offer.
Q_LOGGING_CATEGORY(lcWindow, "quippet.window", QtWarningMsg)

// The keys that do what the mouse does, told to screen readers after each tool tip.
const QString IconKeys[4] = {
    QStringLiteral("Space or Enter copies the text in the box to the clipboard."),
    QStringLiteral("Space or Enter adds the text in the box to the list."),
    QStringLiteral("Space or Enter removes the text in the box from the list."),
    QStringLiteral("Space or Enter writes the text in the box to a file.")};
const QString MessagePanelKeys = QStringLiteral("Space or Enter shrinks or restores the window.");
const QString ClockPanelKeys = QStringLiteral("Space or Enter puts the time into the box.");

// Client area and control placement in twips: left, top, width, height.
struct TwipsRect
{
    int left, top, width, height;
};
constexpr int ClientWidth = 3840;
constexpr TwipsRect Frame1Rect{0, 120, 3840, 1485};
constexpr TwipsRect Combo1Rect{120, 240, 3615, 315};
constexpr TwipsRect ImageRects[4] = {
    {2205, 675, 480, 480}, {120, 675, 480, 480}, {1170, 675, 480, 480}, {3255, 675, 480, 480}};
constexpr TwipsRect LabelRects[4] = {
    {2265, 1220, 375, 195}, {180, 1220, 315, 195}, {1125, 1220, 615, 195}, {3285, 1220, 405, 195}};
constexpr int StatusBarHeight = 330;
constexpr int RuleGap = 20;

QAction* addItem(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

} // namespace

void Form1Ui::setupUi(Form1* form)
{
    form->setWindowTitle(QStringLiteral("Quippet"));
    form->setWindowIcon(QIcon(QStringLiteral(":/quippet.svg")));
    buildControls(form);
    buildMenus(form);
}

void Form1Ui::buildControls(Form1* form)
{
    m_client = new QWidget(form);
    form->setCentralWidget(m_client);

    m_line1 = new EtchedRule(m_client);
    m_line1->setObjectName(QStringLiteral("Line1"));

    m_frame1 = new QGroupBox(QStringLiteral("Select desired text and drag to location:"), m_client);
    m_frame1->setObjectName(QStringLiteral("Frame1"));

    m_combo1 = new SnippetCombo(form->list(), m_frame1);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    QFont bold = m_combo1->font();
    bold.setBold(true);
    bold.setPointSizeF(8.25);
    m_combo1->setFont(bold);
    m_combo1->setAccessibleName(QStringLiteral("Snippet"));

    const QString icons[4] = {QStringLiteral(":/copy.svg"), QStringLiteral(":/add.svg"),
                              QStringLiteral(":/remove.svg"), QStringLiteral(":/write.svg")};
    const QString tips[4] = {QStringLiteral("Drag text here to paste to the Windows clipboard."),
                             QStringLiteral("Drag text here to add to Quippet."),
                             QStringLiteral("Drag text here to remove from Quippet."),
                             QStringLiteral("Drag text here to write to file.")};
    const QString captions[4] = {QStringLiteral("Copy"), QStringLiteral("Add"),
                                 QStringLiteral("Remove"), QStringLiteral("Write")};
    for (int i = 0; i < 4; ++i) {
        m_image[i] = new TargetIcon(icons[i], m_frame1);
        m_image[i]->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        m_image[i]->setToolTip(tips[i]);
        m_image[i]->setAccessibleName(captions[i]);
        m_image[i]->setAccessibleDescription(tips[i] + u' ' + IconKeys[i]);
        QLabel* label = nullptr;
        if (i < 3) {
            m_label[i] = new ClickLabel(captions[i], m_frame1);
            label = m_label[i];
        } else {
            label = new QLabel(captions[i], m_frame1);
            m_label4 = label;
        }
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }

    m_statusBar1 = new PanelStatusBar(form->m_services.clock, m_client);
    m_statusBar1->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar1->setPanelToolTip(PanelStatusBar::MessagePanel, ShrinkTip);
    m_statusBar1->setPanelToolTip(PanelStatusBar::ClockPanel,
                                  QStringLiteral("Click here to send time to textbox."));
    m_statusBar1->setPanelKeys(PanelStatusBar::MessagePanel, MessagePanelKeys);
    m_statusBar1->setPanelKeys(PanelStatusBar::ClockPanel, ClockPanelKeys);
    m_statusBar1->panel(PanelStatusBar::MessagePanel)->setAccessibleName(QStringLiteral("Message"));
    m_statusBar1->panel(PanelStatusBar::ClockPanel)->setAccessibleName(QStringLiteral("Clock"));

    setTabOrderChain();
    placeControls(form);
}

void Form1Ui::setTabOrderChain()
{
    // The box first, then the icons as they stand from left to right, then the status bar.
    QWidget* const chain[] = {m_combo1,
                              m_image[1],
                              m_image[2],
                              m_image[0],
                              m_image[3],
                              m_statusBar1->panel(PanelStatusBar::MessagePanel),
                              m_statusBar1->panel(PanelStatusBar::ClockPanel)};
    for (std::size_t i = 1; i < std::size(chain); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void Form1Ui::buildMenus(Form1* form)
{
    m_prog = form->menuBar()->addMenu(QStringLiteral("&Program"));
    m_prog->setObjectName(QStringLiteral("prog"));
    m_onTop = addItem(m_prog, QStringLiteral("OnTop"), QStringLiteral("Always On Top"));
    m_onTop->setCheckable(true);
    if (!form->m_services.topmost.supported()) {
        // A check mark that cannot work would only mislead; the stored wish is kept as it is.
        m_onTop->setEnabled(false);
        m_onTop->setToolTip(
            QStringLiteral("This desktop does not let programs keep a window on top."));
        m_prog->setToolTipsVisible(true);
        qCInfo(lcWindow).noquote() << m_onTop->text() << "disabled:" << m_onTop->toolTip();
    }
    m_shoTask = addItem(m_prog, QStringLiteral("ShoTask"), QStringLiteral("Show In Taskbar"));
    m_shoTask->setCheckable(true);
    m_prog->addSeparator()->setObjectName(QStringLiteral("dash"));
    m_ext = addItem(m_prog, QStringLiteral("ext"), QStringLiteral("E&xit"));

    m_abt = form->menuBar()->addMenu(QStringLiteral("&About"));
    m_abt->setObjectName(QStringLiteral("Abt"));
    m_abquip = addItem(m_abt, QStringLiteral("abquip"), QStringLiteral("&About Quippet"));
    m_abt->addSeparator()->setObjectName(QStringLiteral("thegap"));
    m_vist = addItem(m_abt, QStringLiteral("vist"), QStringLiteral("&Visit Homepage"));

    // Pop-up menus only: never part of the menu bar.
    m_pop = new QMenu(QStringLiteral("Pop"), form);
    m_pop->setObjectName(QStringLiteral("pop"));
    m_rst = addItem(m_pop, QStringLiteral("rst"), QStringLiteral("&Restore"));
    m_pop->addSeparator()->setObjectName(QStringLiteral("nada"));
    m_ex = addItem(m_pop, QStringLiteral("ex"), QStringLiteral("E&xit"));

    m_pop2 = new QMenu(QStringLiteral("pop2"), form);
    m_pop2->setObjectName(QStringLiteral("pop2"));
    m_mAdd = addItem(m_pop2, QStringLiteral("mAdd"), QStringLiteral("&Add Text To File"));
    m_mCreate = addItem(m_pop2, QStringLiteral("mCreate"), QStringLiteral("&Create New File"));
}

void Form1Ui::placeControls(Form1* form)
{
    const double tx = form->twipsPerPixelX();
    const double ty = form->twipsPerPixelY();
    const auto px = [tx, ty](const TwipsRect& r) {
        return QRect(Twips::toPixels(r.left, tx), Twips::toPixels(r.top, ty),
                     Twips::toPixels(r.width, tx), Twips::toPixels(r.height, ty));
    };
    const int clientWidth = Twips::toPixels(ClientWidth, tx);
    m_line1->setGeometry(0, 0, clientWidth, Twips::toPixels(RuleGap, ty) + 1);
    m_line1->setGap(Twips::toPixels(RuleGap, ty));
    m_frame1->setGeometry(px(Frame1Rect));
    m_combo1->setGeometry(px(Combo1Rect));
    for (int i = 0; i < 4; ++i) {
        m_image[i]->setGeometry(px(ImageRects[i]));
        QWidget* label = i < 3 ? static_cast<QWidget*>(m_label[i]) : m_label4;
        // The caption keeps its designed centre and top; where this system's font is wider
        // than the design's, the box grows evenly on both sides instead of cutting the text.
        QRect box = px(LabelRects[i]);
        const int needed = label->sizeHint().width();
        if (needed > box.width())
            box.adjust(-(needed - box.width() + 1) / 2, 0, (needed - box.width()) / 2, 0);
        box.setHeight(qMax(box.height(), label->sizeHint().height()));
        label->setGeometry(box);
    }
}

void Form1Ui::fitHeight(Form1* form, double twips)
{
    const int clientHeight =
        qMax(0, Twips::toPixels(twips - Form1::NonClientTwips, form->twipsPerPixelY()));
    const int clientWidth = Twips::toPixels(ClientWidth, form->twipsPerPixelX());
    m_client->setFixedSize(clientWidth, clientHeight);
    const int statusHeight = Twips::toPixels(StatusBarHeight, form->twipsPerPixelY());
    // Docked to the bottom: it stays in view at any height.
    m_statusBar1->setGeometry(0, clientHeight - statusHeight, clientWidth, statusHeight);
    const int menuHeight = form->menuBar()->sizeHint().height();
    form->setFixedSize(clientWidth, menuHeight + clientHeight);
}
