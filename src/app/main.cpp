#include "Form1.h"
#include "QtPlatform.h"
#include "ShutdownSignals.h"
#include "StoreFile.h"
#include "StoreReadAhead.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quippet"));
    QApplication::setApplicationName(QStringLiteral("Quippet"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quippet.svg")));
    // The window may live hidden in the notification area; only Exit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    QtPlatform platform;
    const PlatformServices services = platform.services();
    // A second instance ends before it touches the store. The first reads its store on a
    // worker while the window is built.
    if (services.instance.otherInstanceRunning())
        return 0;
    auto readAhead = std::make_unique<StoreReadAhead>(
        StoreFile::choosePath(services.program.folder(), services.program.userDataFolder()));
    Form1 form(services);
    form.setStoreReadAhead(std::move(readAhead));
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
    if (!form.startsInNotificationArea())
        form.show();
    return QApplication::exec();
}
