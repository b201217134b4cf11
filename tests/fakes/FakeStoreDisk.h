#pragma once

#include "core/store/StoreReader.h"
#include "core/sync/StoreDisk.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>
#include <functional>

/** A store file in memory, changed by a script of outside writes. */
class FakeStoreDisk : public StoreDisk
{
public:
    /** One version of the file; held open by whoever read or wrote it. */
    struct File : HeldFile
    {
        File(QByteArray content, quint64 node, qint64 time) : bytes(std::move(content)), inode(node), mtime(time) {}
        QByteArray readFrom(qint64 offset) const override { return bytes.mid(offset); }
        QByteArray bytes;
        quint64 inode;
        qint64 mtime;
    };

    static QByteArray line(const QString& text) { return '"' + text.toUtf8() + "\"\r\n"; }

    std::shared_ptr<File> current; // the file at the path; null: none
    /** Outside changes, one made right before each check before a replace. */
    QStringList beforeReplace;
    int writes = 0;
    int stamps = 0;          // looks at the file, read once the store thread is done
    bool unreadable = false; // reads fail
    /** Runs at each read made on another thread than the test's (the store thread's). */
    std::function<void()> onRead;

    std::shared_ptr<File> make(const QByteArray& bytes) { return std::make_shared<File>(bytes, ++m_inodes, ++m_clock); }
    /** "append TEXT": a line added to the file in place; "deliver TEXT": a copy with the line renamed over it. */
    void outside(const QString& change)
    {
        const QString text = change.section(u' ', 1);
        if (change.startsWith(QLatin1String("append")) && current) {
            current->bytes += line(text);
            current->mtime = ++m_clock;
        } else {
            current = make((current ? current->bytes : QByteArray()) + line(text));
        }
    }
    static FileStamp stampOf(const File& file) { return {true, file.bytes.size(), file.mtime, 1, file.inode}; }

    FileStamp stamp(const QString&) override
    {
        ++stamps;
        return current ? stampOf(*current) : FileStamp();
    }
    StoreFile::Contents read(const QString&, bool = false) override
    {
        if (onRead && QThread::currentThread() != QCoreApplication::instance()->thread())
            onRead();
        if (!current || unreadable)
            return {current ? StoreFile::LoadResult::Unreadable : StoreFile::LoadResult::Missing, {}, {}, false, {}, {}, 0};
        return {StoreFile::LoadResult::Loaded, entries(), {}, false, stampOf(*current), current, current->bytes.size()};
    }
    StoreFile::Written write(const QString&, const QByteArray& bytes, const std::function<bool()>& check) override
    {
        ++writes;
        auto file = make(bytes);
        if (!beforeReplace.isEmpty())
            outside(beforeReplace.takeFirst());
        const bool refused = check && !check();
        if (!refused)
            current = file;
        return {!refused, refused, {}, stampOf(*file), file};
    }
    QStringList entries() const
    {
        QStringList out;
        if (current)
            StoreReader().feed(current->bytes, true, out);
        return out;
    }

private:
    quint64 m_inodes = 0;
    qint64 m_clock = 0;
};
