#pragma once

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QtTest>

/** Real event sequences for widget tests: double-clicks and drag-and-drop onto a widget. */
namespace UserInput {

/** Press, release, double-click, release: what a user's double-click delivers. */
inline void doubleClick(QWidget* target)
{
    const QPoint at = target->rect().center();
    QTest::mousePress(target, Qt::LeftButton, {}, at);
    QTest::mouseRelease(target, Qt::LeftButton, {}, at);
    QTest::mouseDClick(target, Qt::LeftButton, {}, at);
    QTest::mouseRelease(target, Qt::LeftButton, {}, at);
}

/** Enters, moves over and drops `mime` on `target`; false when the drag was refused. */
inline bool dragAndDrop(QWidget* target, QMimeData& mime)
{
    const QPoint at = target->rect().center();
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    QDropEvent drop(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

inline bool dropText(QWidget* target, const QString& text)
{
    QMimeData mime;
    mime.setText(text);
    return dragAndDrop(target, mime);
}

} // namespace UserInput
