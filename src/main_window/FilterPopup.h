#pragma once

#include <QListView>
#include <QStringList>

class QStringListModel;

/**
 * The pop-up of entries offered for the typed text. It never takes the keyboard: the text box
 * keeps the focus and hands it the keys a list needs (see moveCurrent()). Each row shows its
 * entry on one line, cut short for display; picking a row hands out the whole entry.
 */
class FilterPopup : public QListView
{
    Q_OBJECT
public:
    /** Rows shown at once; more scroll. */
    static constexpr int VisibleRows = 12;
    /** Characters of an entry that a row shows; the rest could never fit in the row. */
    static constexpr int DisplayChars = 300;

    /** A pop-up for the text box `anchor`, placed along it. */
    explicit FilterPopup(QWidget* anchor);

    /** Shows `entries`, best first, with no row chosen yet. */
    void showEntries(const QStringList& entries);
    /** Moves the chosen row by `rows` (negative: up); above the first row none is chosen. */
    void moveCurrent(int rows);
    /** Picks the chosen row, if any; true when one was picked. */
    bool pickCurrent();
    /** The whole entry of each row, best first. */
    const QStringList& entries() const { return m_entries; }
    /** What a row shows for `entry`: one line, its line breaks marked. */
    static QString displayText(const QString& entry);

Q_SIGNALS:
    /** A row was picked: its whole entry. */
    void picked(const QString& entry);
    /** The user closed the pop-up by clicking elsewhere or leaving the window. */
    void dismissed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void place();
    void dismiss();

    QWidget* m_anchor;
    QStringListModel* m_rows;
    QStringList m_entries;
};
