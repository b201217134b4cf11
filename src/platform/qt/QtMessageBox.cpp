#include "platform/qt/QtMessageBox.h"

#include <QMessageBox>

namespace {

/** The icon bits of a message-box style: 16 critical, 32 question, 48 warning, 64 information. */
QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

void QtMessageBox::show(QWidget* parent, const QString& prompt, int style, const QString& title)
{
    QMessageBox box(iconFor(style), title, prompt, QMessageBox::Ok, parent);
    box.exec();
}

bool QtMessageBox::askRetry(QWidget* parent, const QString& prompt, const QString& title)
{
    QMessageBox box(QMessageBox::Warning, title, prompt, QMessageBox::Retry | QMessageBox::Discard,
                    parent);
    box.setDefaultButton(QMessageBox::Retry);
    return box.exec() == QMessageBox::Retry;
}
