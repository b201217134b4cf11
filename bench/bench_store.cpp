// Times saving and loading a full store (32,767 entries) against a plain write and read of the
// same bytes.

#include "BenchSupport.h"
#include "core/store/StoreFile.h"
#include "core/store/StoreFormat.h"
#include "core/sync/StoreDisk.h"
#include "core/sync/SyncedStore.h"
#include "main_window/SnippetListModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Repetitions = 31;

void print(const char* name, const std::vector<double>& samples)
{
    std::printf("%s median=%.3f min=%.3f\n", name, BenchSupport::median(samples),
                BenchSupport::minimum(samples));
}

} // namespace

int main()
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    // The combo box's own model, so the figures include the list the program really fills.
    SnippetListModel source;
    source.appendAll(BenchSupport::makeEntries(SnippetList::MaxEntries));
    const StoreFile store(dir.filePath(QStringLiteral("Text.txt")));

    // Warm-up, and a check that what is timed is a faithful round trip.
    {
        QString error;
        SnippetListModel loaded;
        StoreFile reader(store.path());
        if (!store.save(source, &error) || reader.load(loaded) != StoreFile::LoadResult::Loaded ||
            loaded.entries() != source.entries()) {
            std::fprintf(stderr, "round trip failed: %s\n", qPrintable(error));
            return 1;
        }
    }

    std::vector<double> saveMs, loadMs, totalMs, baselineMs, durableMs, formatMs, sessionMs;
    const QByteArray bytes = StoreFormat::serialize(source.entries());
    const QString plainPath = dir.filePath(QStringLiteral("plain.txt"));
    // The store thread's save (stamp, check before the replace, the new file held open), as the
    // program does it, on a file of its own.
    StoreDisk disk;
    const QString sessionPath = dir.filePath(QStringLiteral("session/Text.txt"));
    QDir().mkpath(QFileInfo(sessionPath).path());
    SyncedStore synced(disk, sessionPath, QString());
    synced.begin(source.entries(), StoreFile::read(sessionPath));
    QStringList entries = source.entries();
    // Each repetition times every variant in turn, so a busy moment of the machine weighs on all
    // of them alike; each starts with nothing left to write back, so that no flush pays for
    // another variant's data.
    for (int rep = 0; rep < Repetitions; ++rep) {
        QElapsedTimer timer;
        ::sync();
        timer.start();
        store.save(source);
        const double save = BenchSupport::elapsedMs(timer);
        SnippetListModel loaded;
        StoreFile reader(store.path());
        ::sync();
        timer.start();
        reader.load(loaded);
        const double load = BenchSupport::elapsedMs(timer);
        saveMs.push_back(save);
        loadMs.push_back(load);
        totalMs.push_back(save + load);

        // A list the file does not hold yet: a save of what it holds writes nothing.
        entries.last() = QStringLiteral("changed %1").arg(rep);
        ::sync();
        timer.start();
        const bool saved = synced.save(entries).saved;
        const StoreFile::Contents session = StoreFile::read(sessionPath);
        sessionMs.push_back(BenchSupport::elapsedMs(timer));
        if (!saved || session.entries != entries)
            return 1;

        // The in-memory part alone (serialize, then read back), to separate CPU time from I/O.
        ::sync();
        timer.start();
        const QStringList back = StoreFormat::read(StoreFormat::serialize(source.entries()));
        formatMs.push_back(BenchSupport::elapsedMs(timer));
        if (back.size() != source.entries().size())
            return 1;

        ::sync();
        timer.start();
        {
            QFile out(plainPath);
            out.open(QIODevice::WriteOnly);
            out.write(bytes);
        }
        QByteArray plain;
        {
            QFile in(plainPath);
            in.open(QIODevice::ReadOnly);
            plain = in.readAll();
        }
        baselineMs.push_back(BenchSupport::elapsedMs(timer));

        // The same bytes written the way a save must be to survive a power cut (temporary file,
        // flushed to disk, renamed over): the I/O a durable save cannot avoid.
        ::sync();
        timer.start();
        {
            QSaveFile out(plainPath);
            out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
            out.write(bytes);
            out.commit();
        }
        QByteArray durable;
        {
            QFile in(plainPath);
            in.open(QIODevice::ReadOnly);
            durable = in.readAll();
        }
        durableMs.push_back(BenchSupport::elapsedMs(timer));
        if (plain != bytes || durable != bytes)
            return 1;
    }

    std::printf("entries=%d bytes=%lld repetitions=%d\n", SnippetList::MaxEntries,
                static_cast<long long>(bytes.size()), Repetitions);
    print("save_ms", saveMs);
    print("load_ms", loadMs);
    print("save_load_ms", totalMs);
    print("store_thread_save_load_ms", sessionMs);
    print("format_only_ms", formatMs);
    print("baseline_write_read_ms", baselineMs);
    print("baseline_durable_write_read_ms", durableMs);
    std::printf("ratio_save_load_to_baseline median=%.2f (not durable; for reference)\n",
                BenchSupport::median(totalMs) / BenchSupport::median(baselineMs));
    std::printf("ratio_save_load_to_durable_baseline median=%.2f (target <= 2)\n",
                BenchSupport::median(totalMs) / BenchSupport::median(durableMs));
    std::printf("ratio_store_thread_save_load_to_durable_baseline median=%.2f (target <= 2)\n",
                BenchSupport::median(sessionMs) / BenchSupport::median(durableMs));
    return 0;
}
