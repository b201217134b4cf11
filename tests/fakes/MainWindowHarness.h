#pragma once

#include "fakes/FakePlatform.h"
#include "fakes/FileBytes.h"
#include "main_window/Form1.h"
#include "main_window/SnippetCombo.h"
#include "main_window/controls/PanelStatusBar.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <memory>

/** The main window over fakes and a temporary program folder, with what its tests do to it. */
struct MainWindowHarness
{
    QTemporaryDir dir;
    FakePlatform platform;
    std::unique_ptr<Form1> form;
    std::unique_ptr<QAbstractItemModelTester> listModelTester; // the list keeps Qt's model contract as it changes

    MainWindowHarness()
    {
        platform.program.programFolder = dir.path();
        platform.program.dataFolder = dir.filePath(QStringLiteral("data"));
        form = std::make_unique<Form1>(platform.services());
        listModelTester = std::make_unique<QAbstractItemModelTester>(combo()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    }

    QString storePath() const { return dir.filePath(QStringLiteral("Text.txt")); }
    QByteArray storeBytes() const { return readBytes(storePath()); }
    /** Writes the store (null bytes: none), sets the settings and runs the start-up. */
    bool load(const QMap<QString, QString>& settings = {}, const QByteArray& store = QByteArray("\"a\"\r\n"))
    {
        if (!store.isNull())
            writeBytes(storePath(), store);
        platform.settings.values = settings;
        return form->Form_Load();
    }

    template <typename T = QWidget> T* child(const QString& name) const { return form->findChild<T*>(name); }
    SnippetCombo* combo() const { return child<SnippetCombo>(QStringLiteral("Combo1")); }
    PanelStatusBar* statusBar() const { return child<PanelStatusBar>(QStringLiteral("StatusBar1")); }
    QAction* action(const QString& name) const { return child<QAction>(name); }
    QString message() const { return statusBar()->panelText(PanelStatusBar::MessagePanel); }
    QString working() const { return combo()->text(); }
    QStringList entries() const { return form->list().entries(); }

    /** Press, release, double-click, release: what a user's double-click delivers. */
    void doubleClick(const QString& name, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget* target = child(name);
        const QPoint at = target->rect().center();
        QTest::mousePress(target, button, {}, at);
        QTest::mouseRelease(target, button, {}, at);
        QTest::mouseDClick(target, button, {}, at);
        QTest::mouseRelease(target, button, {}, at);
    }
    /** Enters, moves over and drops `mime` on the middle of `target` through its window, which picks the
     * widget as for a real drag; false when the drag was refused. */
    static bool dragAndDrop(QWidget* target, QMimeData& mime)
    {
        target->window()->winId(); // gives the window the handle that drag events go to
        QWindow* window = target->window()->windowHandle();
        const QPoint at = target->mapTo(target->window(), target->rect().center());
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        if (!enter.isAccepted()) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(window, &leave);
            return false;
        }
        QDragMoveEvent move(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &move);
        QDropEvent drop(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &drop);
        return drop.isAccepted();
    }
    bool drop(const QString& name, const QString& text)
    {
        QMimeData mime;
        mime.setText(text);
        return dragAndDrop(child(name), mime);
    }
};
