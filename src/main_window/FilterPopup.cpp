#include "main_window/FilterPopup.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStringListModel>

FilterPopup::FilterPopup(QWidget* anchor)
    : QListView(anchor), m_anchor(anchor), m_rows(new QStringListModel(this))
{
    // A tool-tip window is never activated and grabs nothing: keys stay with the text box,
    // and a click elsewhere reaches what it was aimed at.
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setModel(m_rows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
}

QString FilterPopup::displayText(const QString& entry)
{
    QString shown = entry.left(DisplayChars);
    shown.replace(QLatin1String("\r\n"), QStringLiteral("\u23CE"));
    for (QChar& c : shown) {
        if (c == u'\n' || c == u'\r')
            c = QChar(0x23CE);
        else if (c == u'\t')
            c = u' ';
    }
    return shown;
}

void FilterPopup::showEntries(const QStringList& entries)
{
    m_entries = entries;
    QStringList shown;
    shown.reserve(entries.size());
    for (const QString& entry : entries)
        shown.append(displayText(entry));
    QFont font = m_anchor->font();
    font.setBold(false);
    if (font != this->font())
        setFont(font);
    // A new list resets the model, which leaves no row chosen.
    m_rows->setStringList(shown);
    scrollToTop();
    place();
    if (!isVisible())
        show();
}

void FilterPopup::place()
{
    const int rows = static_cast<int>(qMin<qsizetype>(m_entries.size(), VisibleRows));
    const int height = rows * sizeHintForRow(0) + 2 * frameWidth();
    const QRect box(m_anchor->mapToGlobal(QPoint(0, 0)), m_anchor->size());
    const QRect screen = m_anchor->screen()->availableGeometry();
    // Above the box when there is room, else below the window: never over the targets under
    // the box, which a user reaches for straight after typing.
    int top = box.top() - height;
    if (top < screen.top())
        top = m_anchor->window()->frameGeometry().bottom() + 1;
    setGeometry(box.left(), top, box.width(), height);
}

void FilterPopup::moveCurrent(int rows)
{
    const int count = m_rows->rowCount();
    if (count == 0)
        return;
    const int from = currentIndex().isValid() ? currentIndex().row() : -1;
    const int to = qBound(-1, from + rows, count - 1);
    if (to < 0) {
        setCurrentIndex(QModelIndex());
        scrollToTop();
        return;
    }
    setCurrentIndex(m_rows->index(to));
}

bool FilterPopup::pickCurrent()
{
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return false;
    const QString entry = m_entries.value(current.row());
    hide();
    Q_EMIT picked(entry);
    return true;
}

void FilterPopup::mouseMoveEvent(QMouseEvent* event)
{
    const QModelIndex under = indexAt(event->position().toPoint());
    if (under.isValid() && under != currentIndex())
        setCurrentIndex(under);
    QListView::mouseMoveEvent(event);
}

void FilterPopup::mouseReleaseEvent(QMouseEvent* event)
{
    const QModelIndex under = indexAt(event->position().toPoint());
    // The press made the row under the pointer the current one.
    if (event->button() == Qt::LeftButton && under.isValid()) {
        pickCurrent();
        return;
    }
    QListView::mouseReleaseEvent(event);
}

void FilterPopup::showEvent(QShowEvent* event)
{
    QListView::showEvent(event);
    qApp->installEventFilter(this);
}

void FilterPopup::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    QListView::hideEvent(event);
}

void FilterPopup::dismiss()
{
    hide();
    Q_EMIT dismissed();
}

bool FilterPopup::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress: {
        // A click anywhere but on the pop-up closes it and still does what it was aimed at.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget != this && !isAncestorOf(widget))
            dismiss();
        break;
    }
    case QEvent::WindowDeactivate:
    case QEvent::Move:
    case QEvent::Hide:
        if (watched == m_anchor->window())
            dismiss();
        break;
    case QEvent::ApplicationStateChange:
        if (qApp->applicationState() != Qt::ApplicationActive)
            dismiss();
        break;
    default:
        break;
    }
    return false;
}
