#include "main_window/SnippetCombo.h"

#include "core/list/SnippetFilter.h"
#include "main_window/FilterPopup.h"
#include "main_window/SnippetLineEdit.h"
#include "main_window/SnippetListModel.h"
#include "main_window/controls/TextDropTarget.h"

#include <QKeyEvent>
#include <QListView>
#include <QMimeData>

namespace {

/** Whether the key puts text in the box: a printable character without Ctrl, or a paste. */
bool putsText(const QKeyEvent& key)
{
    if (key.matches(QKeySequence::Paste))
        return true;
    const QString text = key.text();
    const Qt::KeyboardModifiers mods = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (text.isEmpty() || mods == Qt::ControlModifier)
        return false;
    return text.front().isPrint() || text.front().isHighSurrogate();
}

} // namespace

SnippetCombo::SnippetCombo(SnippetListModel& list, QWidget* parent)
    : QComboBox(parent), m_list(list), m_edit(new SnippetLineEdit(this)),
      m_filter(new SnippetFilter(list.entries(), MaxOffered, this)), m_popup(new FilterPopup(this))
{
    // Makes the combo box editable, with this text box.
    setLineEdit(m_edit);
    setInsertPolicy(QComboBox::NoInsert);
    setModel(&list);
    // Typing offers the entries that start with or contain the typed text in a pop-up of its
    // own. Qt's completer would filter and lay out every match at each key, and its inline
    // mode would put text in the box that the user did not type or pick.
    setCompleter(nullptr);
    connect(m_edit, &QLineEdit::textEdited, this, &SnippetCombo::filterFor);
    connect(m_filter, &SnippetFilter::matched, this, &SnippetCombo::offer);
    connect(m_popup, &FilterPopup::picked, this, &SnippetCombo::setText);
    connect(m_popup, &FilterPopup::dismissed, m_filter, &SnippetFilter::clear);
    connect(&list, &QAbstractItemModel::rowsInserted, m_filter, &SnippetFilter::listChanged);
    connect(&list, &QAbstractItemModel::rowsRemoved, m_filter, &SnippetFilter::listChanged);
    connect(&list, &QAbstractItemModel::modelReset, m_filter, &SnippetFilter::listChanged);
    // A fixed width and uniform rows: the combo never measures 32,767 entries.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto* listView = qobject_cast<QListView*>(view())) {
        listView->setUniformItemSizes(true);
        listView->setLayoutMode(QListView::Batched);
    }
    setMaxVisibleItems(12);
    auto* drops = new TextDropTarget(this);
    connect(drops, &TextDropTarget::dragOver, this, &SnippetCombo::dragOver);
    connect(drops, &TextDropTarget::dropped, this, &SnippetCombo::dropped);

    // The combo box re-selects an entry, and so rewrites the text box, when rows come and go.
    connect(&list, &QAbstractItemModel::rowsAboutToBeInserted, this, &SnippetCombo::rememberText);
    connect(&list, &QAbstractItemModel::rowsAboutToBeRemoved, this, &SnippetCombo::rememberText);
    connect(&list, &QAbstractItemModel::modelAboutToBeReset, this, &SnippetCombo::rememberText);
    connect(&list, &QAbstractItemModel::rowsInserted, this, &SnippetCombo::restoreText);
    connect(&list, &QAbstractItemModel::rowsRemoved, this, &SnippetCombo::restoreText);
    connect(&list, &QAbstractItemModel::modelReset, this, &SnippetCombo::restoreText);
    connect(m_edit, &SnippetLineEdit::dragStarting, this, &SnippetCombo::dragStarting);
    m_edit->installEventFilter(this);
    // Picking an entry from the list replaces the working text, excerpt or not.
    connect(this, &QComboBox::textActivated, this, &SnippetCombo::setText);
}

QString SnippetCombo::text() const
{
    return m_excerpt ? m_fullText : m_edit->text();
}

void SnippetCombo::filterFor(const QString& typed)
{
    m_filter->setText(typed);
    // Rows for an older text are never left on show while the new ones are looked for.
    if (m_filter->isBusy() || typed.isEmpty())
        m_popup->hide();
}

void SnippetCombo::offer(const QString& typed, const QList<int>& positions)
{
    if (positions.isEmpty() || typed != m_edit->text()) {
        // Nothing to offer ends the search, so a later change of the list does not open the
        // pop-up for a text the user has moved on from.
        closeFilter();
        return;
    }
    QStringList entries;
    entries.reserve(positions.size());
    for (int position : positions)
        entries.append(m_list.entryAt(position));
    m_popup->showEntries(entries);
}

void SnippetCombo::closeFilter()
{
    m_filter->clear();
    m_popup->hide();
}

void SnippetCombo::showPopup()
{
    closeFilter();
    QComboBox::showPopup();
}

bool SnippetCombo::filterKey(int key)
{
    switch (key) {
    case Qt::Key_Down:
        m_popup->moveCurrent(1);
        return true;
    case Qt::Key_Up:
        m_popup->moveCurrent(-1);
        return true;
    case Qt::Key_PageDown:
        m_popup->moveCurrent(FilterPopup::VisibleRows);
        return true;
    case Qt::Key_PageUp:
        m_popup->moveCurrent(-FilterPopup::VisibleRows);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // With no row chosen, Enter closes the pop-up and does what it does in the box.
        if (m_popup->pickCurrent())
            return true;
        closeFilter();
        return false;
    case Qt::Key_Escape:
        closeFilter();
        return true;
    default:
        return false;
    }
}

void SnippetCombo::keyPressEvent(QKeyEvent* event)
{
    // The combo box has the focus (its text box names it as focus proxy), so keys arrive here
    // first; the pop-up's keys must be taken before the combo box steps through the list.
    if (m_popup->isVisible() && filterKey(event->key())) {
        event->accept();
        return;
    }
    // The combo box hands keys to its text box without its event filters, so the excerpt is
    // looked after here too.
    if (typeOverExcerpt(*event)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void SnippetCombo::focusOutEvent(QFocusEvent* event)
{
    closeFilter();
    QComboBox::focusOutEvent(event);
}

void SnippetCombo::setText(const QString& text)
{
    // Text put in the box, rather than typed, is not a search.
    closeFilter();
    if (text.size() <= DisplayLimit) {
        leaveExcerpt();
        m_edit->setText(text);
        return;
    }
    m_fullText = text;
    m_excerpt = true;
    // Read-only: editing an excerpt would silently drop the rest of the text.
    m_edit->setReadOnly(true);
    m_edit->setText(text.left(200) + QChar(0x2026));
    m_edit->setToolTip(QStringLiteral("A text of %L1 characters. Type over the whole selection "
                                      "or drop another text to replace it.")
                           .arg(text.size()));
}

void SnippetCombo::leaveExcerpt()
{
    if (!m_excerpt)
        return;
    m_excerpt = false;
    m_fullText.clear();
    m_edit->setReadOnly(false);
    m_edit->setToolTip(QString());
}

void SnippetCombo::setSelection(int start, int length)
{
    // In an excerpt the selection ends where the excerpt does, so the whole text selects it all.
    m_edit->setSelection(start, length);
}

bool SnippetCombo::typeOverExcerpt(const QKeyEvent& key)
{
    // Typing over a fully selected excerpt replaces the whole text, as it would for any text.
    // Other shortcuts, Enter and Escape carry a text too, and must leave it be.
    if (!m_excerpt)
        return false;
    const bool erases = key.key() == Qt::Key_Delete || key.key() == Qt::Key_Backspace;
    if (!(erases || putsText(key)) || m_edit->selectedText() != m_edit->text())
        return false;
    leaveExcerpt();
    m_edit->clear();
    return erases;
}

bool SnippetCombo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress &&
        typeOverExcerpt(*static_cast<QKeyEvent*>(event)))
        return true;
    return QComboBox::eventFilter(watched, event);
}

void SnippetCombo::rememberText()
{
    m_keptText = m_edit->text();
    m_keptCursor = m_edit->cursorPosition();
}

void SnippetCombo::restoreText()
{
    // Leave the current index unset so the box is not tied to a row that may move. Only
    // touch the box when the combo box did rewrite it: a long text is costly to lay out.
    const QSignalBlocker block(this);
    if (currentIndex() != -1)
        setCurrentIndex(-1);
    if (m_edit->text() != m_keptText)
        m_edit->setText(m_keptText);
    m_edit->setCursorPosition(m_keptCursor);
}
