#include "PlainTextDrop.h"

#include <QMimeData>

bool PlainTextDrop::carriesText(const QMimeData* data)
{
    if (!data)
        return false;
    const QStringList formats = data->formats();
    for (const QString& format : formats) {
        if (format.startsWith(QLatin1String("text/plain")))
            return true;
    }
    return false;
}
