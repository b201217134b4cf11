#include "platform/qt/DesktopUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

int DesktopUrlOpener::open(const QString& address)
{
    return QDesktopServices::openUrl(QUrl(address)) ? Opened : Failed;
}
