#pragma once

#include "DragOverState.h"

#include <QComboBox>

class QMimeData;
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

Q_SIGNALS:
    void dragStarting(QMimeData* dragData, Qt::DropActions* allowedEffects);
    void dragOver(DragOverState state);
    void dropped(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void leaveExcerpt();
    void rememberText();
    void restoreText();

    SnippetLineEdit* m_edit;
    QString m_keptText;
    int m_keptCursor = 0;
    /** The whole working text while the box shows an excerpt of it. */
    QString m_fullText;
    bool m_excerpt = false;
};
