#pragma once

#include <QString>

class MessageBox;
class QWidget;
class UrlOpener;

/** Opens the program's homepage in the default browser; a failure shows a warning box. */
class HomepageOpener
{
public:
    /** The fixed homepage address both windows open. */
    static const QString Address;

    HomepageOpener(UrlOpener& urls, MessageBox& messages, QString title);

    /** Hands `address` to the URL opener; a result below 33 brings up the failure warning. */
    void OpenWebsite(QWidget* parent, const QString& address);

private:
    UrlOpener& m_urls;
    MessageBox& m_messages;
    QString m_title;
};
