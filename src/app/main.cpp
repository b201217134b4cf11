#include "main_window/Form1.h"
#include "platform/Preflight.h"
#include "platform/QuippetVersion.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/ShutdownSignals.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[])
{
    CommandLine::Outcome command;
    if (const auto exitCode = Preflight::run(argc, argv, &command))
        return *exitCode;

    QApplication app(argc, argv);
    QtProgramInfo::setApplicationNames();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quippet.svg")));
    // Wayland desktops find the menu entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUIPPET_APP_ID));
    // The window may live hidden in the notification area; only Exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    QtPlatform platform;
    const PlatformServices services = platform.services();
    // A second instance ends before it builds a window.
    if (services.instance.otherInstanceRunning())
        return 0;
    Form1 form(services);
    form.setStoreLoadAfterFirstPaint(true);
    if (!form.Form_Load())
        return 0;

    QObject::connect(&form, &Form1::ended, &app, &QCoreApplication::quit);
    // A session that ends, or a terminating signal, still saves the list and the settings.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &form, &Form1::Form_Unload);
    ShutdownSignals signalWatcher;
    QObject::connect(&signalWatcher, &ShutdownSignals::shutdownRequested, &form, &QWidget::close);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = form.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form.move(frame.topLeft());
    }
    // Asked for by --show or --toggle, the window comes up even when it would start as an icon.
    if (command.action == CommandLine::Action::Show ||
        command.action == CommandLine::Action::Toggle)
        form.showWindow();
    else if (!form.startsInNotificationArea())
        form.show();
    return QApplication::exec();
}
