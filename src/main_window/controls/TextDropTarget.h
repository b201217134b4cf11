#pragma once

#include "main_window/controls/DragOverState.h"

#include <QObject>

class QMimeData;
class QWidget;

/**
 * Makes a widget a drop target for plain text: reports drags passing over it and text dropped
 * on it. A drag without a plain-text form (files, images) gets the no-drop cursor.
 */
class TextDropTarget : public QObject
{
    Q_OBJECT
public:
    /** Watches `widget`, which becomes the parent. */
    explicit TextDropTarget(QWidget* widget);

    /**
     * True when the drag offers a text/plain form. A list of files alone does not count,
     * although Qt would hand out their paths as text.
     */
    static bool carriesText(const QMimeData* data);

Q_SIGNALS:
    void dragOver(DragOverState state);
    void dropped(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
