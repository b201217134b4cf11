#include "help_window/Form2.h"

#include "core/compat/Twips.h"
#include "help_window/CaptionFitter.h"
#include "help_window/HelpTexts.h"
#include "platform/ProgramInfo.h"

#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QVersionNumber>

namespace {
constexpr QLatin1String ProgramIconPath(":/quippet.svg");
constexpr QLatin1String AuthorPicturePath(":/author.jpg");

// The dialog's client area, in twips.
constexpr int ClientWidth = 4575;
constexpr int ClientHeight = 3450;

// Both etched separators run between these x positions, in twips.
constexpr int RuleLeft = 120;
constexpr int RuleRight = 4440;
} // namespace

Form2::Form2(ProgramInfo& program, UrlOpener& urls, MessageBox& messages, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      m_homepage(urls, messages, program.title()),
      m_twipsPerPixel(Twips::perPixel(owner ? owner->logicalDpiX() : logicalDpiX()))
{
    setWindowTitle(QStringLiteral("About Quippet"));
    setWindowModality(Qt::ApplicationModal);
    if (QFile::exists(ProgramIconPath))
        setWindowIcon(QIcon(ProgramIconPath));
    setFixedSize(twipsRect(0, 0, ClientWidth, ClientHeight).size());

    createControls();
    Form_Load(program);
}

void Form2::createControls()
{
    // Created in tab order, so the focus chain follows it without further work.
    m_label1 = addLabel("Label1", QStringLiteral("Quippet"), 13.5, true, Qt::AlignHCenter, 1740,
                        120, 1095, 375);
    m_label3 = addLabel("Label3", QStringLiteral("by Team Quippet"), 12.0, true, Qt::AlignLeft,
                        1140, 720, 2295, 375);

    m_command1 = new QPushButton(QStringLiteral("&Return"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setToolTip(QStringLiteral("Return to Quippet"));
    m_command1->setGeometry(twipsRect(1020, 3000, 1215, 375));

    m_label5 = addLabel("Label5", QStringLiteral("Version 1.0.0"), 9.75, true, Qt::AlignHCenter,
                        1140, 480, 2295, 255);

    m_command2 = new QPushButton(QStringLiteral("&Visit Hompage"), this);
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setToolTip(QStringLiteral("Click to visit Quippet homepage."));
    m_command2->setGeometry(twipsRect(2400, 3000, 1215, 375));

    m_combo1 = new QComboBox(this);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->setGeometry(twipsRect(480, 1200, 3615, 315));

    fitLabel(m_label1, m_label1->font(), Qt::TextSingleLine);
    fitLabel(m_label3, m_label3->font(), Qt::TextSingleLine);

    m_label2 = addLabel("Label2", QStringLiteral("Select a topic above."), 0.0, false,
                        Qt::AlignHCenter, 120, 1560, 4335, 1215);
    m_label2->setWordWrap(true);

    // Neither button may act on Enter: the window has no default button.
    for (QPushButton* button : {m_command1, m_command2}) {
        button->setAutoDefault(false);
        fitButton(button);
    }

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(twipsRect(360, 360, 480, 480));
    m_image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (QFile::exists(ProgramIconPath))
        m_image1->setPixmap(QIcon(ProgramIconPath).pixmap(m_image1->size()));

    m_image2 = new QLabel(this);
    m_image2->setObjectName(QStringLiteral("Image2"));
    m_image2->setGeometry(twipsRect(3720, 300, 480, 600));
    m_image2->setScaledContents(true);
    m_image2->setPixmap(QPixmap(AuthorPicturePath));
    m_image2->setToolTip(QStringLiteral("Hello, it's me!"));

    const QColor darkGray(128, 128, 128);
    addLine("Line1_0", darkGray, RuleLeft, RuleRight, 1080);
    addLine("Line2_0", Qt::white, RuleLeft, RuleRight, 1095);
    addLine("Line1_1", darkGray, RuleLeft, RuleRight, 2880);
    addLine("Line2_1", Qt::white, RuleLeft, RuleRight, 2895);

    connect(m_command1, &QPushButton::clicked, this, &Form2::reject);
    connect(m_command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    // activated, not currentIndexChanged: choosing the same question again must answer again.
    connect(m_combo1, &QComboBox::activated, this, &Form2::Combo1_Click);
}

void Form2::Form_Load(ProgramInfo& program)
{
    const QVersionNumber version = program.version();
    m_label5->setText(QStringLiteral("Version %1.%2.%3")
                          .arg(version.majorVersion())
                          .arg(version.minorVersion())
                          .arg(version.microVersion()));
    fitLabel(m_label5, m_label5->font(), Qt::TextSingleLine);

    m_topics = HelpTexts::LoadTopics();
    m_answers = HelpTexts::LoadAnswers();
    for (const QString& topic : std::as_const(m_topics))
        m_combo1->addItem(QStringLiteral("How do I ") + topic);
    m_combo1->setCurrentIndex(-1);
}

void Form2::Combo1_Click(int listIndex)
{
    if (m_combo1->currentText().isEmpty())
        return;
    m_label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label2->setText(m_answers.at(listIndex));
    // Fitted afresh from the window's font, so a short answer after a long one is not squeezed.
    fitLabel(m_label2, font(), Qt::TextWordWrap);
}

void Form2::Command2_Click()
{
    OpenWebsite(HomepageOpener::Address);
}

void Form2::OpenWebsite(const QString& address)
{
    m_homepage.OpenWebsite(this, address);
}

void Form2::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    centerOnOwner();
}

void Form2::keyPressEvent(QKeyEvent* event)
{
    // There is no cancel button, so Escape must not close the window the way QDialog would.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Form2::centerOnOwner()
{
    QRect area;
    if (const QWidget* owner = parentWidget(); owner && owner->isVisible())
        area = owner->window()->frameGeometry();
    else if (const QScreen* shown = screen())
        area = shown->availableGeometry();
    else
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(area.center());
    move(frame.topLeft());
}

QLabel* Form2::addLabel(const char* name, const QString& caption, double pointSize, bool bold,
                        Qt::Alignment alignment, int left, int top, int width, int height)
{
    auto* label = new QLabel(caption, this);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    // Captions start at the top of their box and never take part in the tab order.
    label->setAlignment(alignment | Qt::AlignTop);
    if (pointSize > 0.0 || bold) {
        QFont labelFont = label->font();
        if (pointSize > 0.0)
            labelFont.setPointSizeF(pointSize);
        labelFont.setBold(bold);
        label->setFont(labelFont);
    }
    label->setGeometry(twipsRect(left, top, width, height));
    return label;
}

void Form2::fitLabel(QLabel* label, const QFont& designFont, int flags)
{
    label->setFont(CaptionFitter::fitted(designFont, label->text(), label->size(),
                                         flags | static_cast<int>(label->alignment())));
}

void Form2::fitButton(QPushButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    // Keep the caption clear of the bevel.
    const QRect inside = button->style()
                             ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
                             .adjusted(2, 0, -2, 0);
    button->setFont(CaptionFitter::fitted(button->font(), button->text(), inside.size(),
                                          Qt::TextSingleLine | Qt::TextShowMnemonic));
}

QFrame* Form2::addLine(const char* name, const QColor& color, int x1, int x2, int y)
{
    auto* line = new QFrame(this);
    line->setObjectName(QLatin1String(name));
    line->setAutoFillBackground(true);
    QPalette linePalette = line->palette();
    linePalette.setColor(QPalette::Window, color);
    line->setPalette(linePalette);
    const int left = Twips::toPixels(x1, m_twipsPerPixel);
    line->setGeometry(left, Twips::toPixels(y, m_twipsPerPixel),
                      Twips::toPixels(x2, m_twipsPerPixel) - left, 1);
    return line;
}

QRect Form2::twipsRect(int left, int top, int width, int height) const
{
    return {Twips::toPixels(left, m_twipsPerPixel), Twips::toPixels(top, m_twipsPerPixel),
            Twips::toPixels(width, m_twipsPerPixel), Twips::toPixels(height, m_twipsPerPixel)};
}
