#include "help_window/HomepageOpener.h"

#include "platform/MessageBox.h"
#include "platform/UrlOpener.h"

#include <utility>

const QString HomepageOpener::Address = QStringLiteral("http://quippet.example.org/");

HomepageOpener::HomepageOpener(UrlOpener& urls, MessageBox& messages, QString title)
    : m_urls(urls), m_messages(messages), m_title(std::move(title))
{
}

void HomepageOpener::OpenWebsite(QWidget* parent, const QString& address)
{
    if (m_urls.open(address) < 33)
        m_messages.show(parent, QStringLiteral("Error: site could not be opened"),
                        MessageBox::Exclamation, m_title);
}
