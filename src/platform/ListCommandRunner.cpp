#include "platform/ListCommandRunner.h"

#include "core/list/PlainSnippetList.h"
#include "core/store/StoreFile.h"
#include "platform/InstanceChannel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStringDecoder>
#include <QThread>
#include <sys/stat.h>
#include <utility>

namespace {

using Message = InstanceChannel::Message;

QByteArray verbOf(ListCommand::Kind kind)
{
    switch (kind) {
    case ListCommand::Kind::Add:
        return "add";
    case ListCommand::Kind::Remove:
        return "remove";
    case ListCommand::Kind::List:
        break;
    }
    return "list";
}

/** What tells one version of the store file from another without reading it. */
struct Stamp
{
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {true, info.st_size, qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec,
            info.st_ino};
}

} // namespace

ListCommandRunner::ListCommandRunner(Setup setup) : m_setup(std::move(setup)) {}

std::optional<QString> ListCommandRunner::decodeText(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

QByteArray ListCommandRunner::formatList(const QStringList& entries, bool nulSeparated)
{
    QByteArray bytes;
    for (const QString& entry : entries)
        bytes += entry.toUtf8() + (nulSeparated ? '\0' : '\n');
    return bytes;
}

ListCommandRunner::Result ListCommandRunner::failure(const QString& reason) const
{
    return {CommandLine::Refused, {}, QStringLiteral("quippet: %1\n").arg(reason)};
}

ListCommandRunner::Result ListCommandRunner::run(ListCommand::Kind kind, const QString& text,
                                                 bool nulSeparated) const
{
    if (m_setup.channelFolder.isEmpty())
        return onStoreFile(kind, text, nulSeparated);

    Message request{verbOf(kind), {}};
    if (kind != ListCommand::Kind::List)
        request.add("text", text.toUtf8());
    QLockFile lock(InstanceChannel::lockPath(m_setup.channelFolder));
    lock.setStaleLockTime(0);
    const QDeadlineTimer deadline(m_setup.waitMs);
    for (;;) {
        Message reply;
        const auto outcome = InstanceChannel::exchange(
            InstanceChannel::socketPath(m_setup.channelFolder), request, &reply, m_setup.uid);
        if (outcome == InstanceChannel::Outcome::Answered) {
            if (reply.verb != "ok")
                return failure(QString::fromUtf8(reply.value("reason")));
            QStringList entries;
            for (const QByteArray& entry : reply.values("entry"))
                entries.append(QString::fromUtf8(entry));
            return {0, formatList(entries, nulSeparated), QString()};
        }
        // Only a free lock proves that no instance runs; it is kept until the file is saved.
        if (lock.tryLock(0))
            return onStoreFile(kind, text, nulSeparated);
        if (lock.error() != QLockFile::LockFailedError)
            return failure(QStringLiteral("cannot use the lock file %1")
                               .arg(QDir::toNativeSeparators(lock.fileName())));
        if (deadline.hasExpired())
            return failure(QStringLiteral("Quippet is running but does not answer; nothing was "
                                          "changed"));
        QThread::msleep(100);
    }
}

ListCommandRunner::Result
ListCommandRunner::onStoreFile(ListCommand::Kind kind, const QString& text, bool nulSeparated) const
{
    const QString path = m_setup.storePath();
    // A change made to the file by another program while this one works is read in again and
    // the command applied to it anew, so nothing on disk is replaced unseen.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const Stamp before = stampOf(path);
        StoreFile::Contents contents = StoreFile::read(path);
        switch (contents.result) {
        case StoreFile::LoadResult::Loaded:
        case StoreFile::LoadResult::Missing:
            break;
        case StoreFile::LoadResult::TooLarge:
            return failure(QStringLiteral("%1 is larger than the %2 MB Quippet loads; nothing "
                                          "was changed")
                               .arg(QDir::toNativeSeparators(path))
                               .arg(StoreFile::MaxBytes / (1024 * 1024)));
        case StoreFile::LoadResult::Unreadable:
            return failure(QStringLiteral("%1 cannot be read; nothing was changed")
                               .arg(QDir::toNativeSeparators(path)));
        }
        // The list as the window would hold it: the date entry first, then the store.
        PlainSnippetList list(QStringList{m_setup.today});
        StoreFile store(path);
        store.accept(std::move(contents), list);
        if (kind == ListCommand::Kind::List)
            return {0, formatList(ListCommand::entries(list, m_setup.today), nulSeparated), {}};

        const ListCommand::Result result = ListCommand::apply(kind, list, text);
        if (!result.changed)
            return failure(result.message);
        if (!(stampOf(path) == before))
            continue;
        QString error;
        if (!store.save(list, &error, m_setup.today))
            return failure(
                QStringLiteral("could not save %1: %2").arg(QDir::toNativeSeparators(path), error));
        return {};
    }
    return failure(QStringLiteral("%1 keeps changing; nothing was changed")
                       .arg(QDir::toNativeSeparators(path)));
}
