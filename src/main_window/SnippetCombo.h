#pragma once

#include "main_window/controls/DragOverState.h"

#include <QComboBox>

class FilterPopup;
class QMimeData;
class SnippetFilter;
class SnippetLineEdit;
class SnippetListModel;

/**
 * `Combo1`: an editable combo box over the snippet list. Its text is exactly what the user
 * typed or picked; list changes never rewrite it. It takes text drops and hands its whole
 * text out as a drag.
 */
class SnippetCombo : public QComboBox
{
    Q_OBJECT
public:
    SnippetCombo(SnippetListModel& list, QWidget* parent = nullptr);

    /** Texts longer than this are shown as an excerpt: laying out a megabyte in one line
     *  would freeze the window for a third of a second at every change. */
    static constexpr int DisplayLimit = 32767;

    /** The working text, whole, however long. */
    QString text() const;
    void setText(const QString& text);
    /** True while the box shows an excerpt of a longer working text. */
    bool showsExcerpt() const { return m_excerpt; }
    /** Selects `length` characters from `start` in the text box. */
    void setSelection(int start, int length);
    SnippetLineEdit* textBox() const { return m_edit; }
    /** The pop-up of entries offered for the typed text. */
    FilterPopup* filterPopup() const { return m_popup; }
    /** Entries a typed text is matched to at most: more than anyone scrolls through. */
    static constexpr int MaxOffered = 200;

    void showPopup() override;

Q_SIGNALS:
    void dragStarting(QMimeData* dragData, Qt::DropActions* allowedEffects);
    void dragOver(DragOverState state);
    void dropped(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void filterFor(const QString& typed);
    void offer(const QString& typed, const QList<int>& positions);
    void closeFilter();
    bool filterKey(int key);
    void leaveExcerpt();
    /** Leaves the excerpt when `key` types over all of it; true when the key is used up. */
    bool typeOverExcerpt(const QKeyEvent& key);
    void rememberText();
    void restoreText();

    SnippetListModel& m_list;
    SnippetLineEdit* m_edit;
    SnippetFilter* m_filter;
    FilterPopup* m_popup;
    QString m_keptText;
    int m_keptCursor = 0;
    /** The whole working text while the box shows an excerpt of it. */
    QString m_fullText;
    bool m_excerpt = false;
};
