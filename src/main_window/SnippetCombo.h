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

    /** The working text. */
    QString text() const;
    void setText(const QString& text);
    /** Selects `length` characters from `start` in the text box. */
    void setSelection(int start, int length);
    SnippetLineEdit* textBox() const { return m_edit; }

Q_SIGNALS:
    void dragStarting(QMimeData* dragData, Qt::DropActions* allowedEffects);
    void dragOver(DragOverState state);
    void dropped(const QString& text);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void rememberText();
    void restoreText();

    SnippetLineEdit* m_edit;
    QString m_keptText;
    int m_keptCursor = 0;
};
