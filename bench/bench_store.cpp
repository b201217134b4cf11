// Times saving and loading a full store (32,767 entries) against a plain write and read of the
// same bytes.

#include "SnippetList.h"
#include "StoreFile.h"
#include "StoreFormat.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int Repetitions = 15;

class BenchList : public SnippetList
{
public:
    int count() const override { return static_cast<int>(m_entries.size()); }
    QString entryAt(int index) const override { return m_entries.value(index); }
    void append(const QString& text) override { m_entries.append(text); }
    void appendAll(const QStringList& texts) override { m_entries.append(texts); }
    void removeAt(int index) override
    {
        if (index >= 0 && index < m_entries.size())
            m_entries.removeAt(index);
    }
    QStringList m_entries;
};

QStringList makeEntries()
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                   "0123456789.-:/()    ,,";
    std::mt19937 random(20240301u);
    std::uniform_int_distribution<int> length(20, 200);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof(alphabet)) - 2);
    QStringList entries;
    entries.reserve(SnippetList::MaxEntries);
    for (int i = 0; i < SnippetList::MaxEntries; ++i) {
        const int n = length(random);
        QString entry;
        entry.reserve(n);
        for (int c = 0; c < n; ++c)
            entry.append(QLatin1Char(alphabet[pick(random)]));
        entries.append(entry);
    }
    return entries;
}

struct Stats
{
    double median;
    double min;
};

Stats statsOf(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], samples.front()};
}

void print(const char* name, const Stats& stats)
{
    std::printf("%s median=%.3f min=%.3f\n", name, stats.median, stats.min);
}

double elapsedMs(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main()
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    BenchList source;
    source.m_entries = makeEntries();
    const StoreFile store(dir.filePath(QStringLiteral("Text.txt")));

    // Warm-up, and a check that what is timed is a faithful round trip.
    {
        QString error;
        BenchList loaded;
        StoreFile reader(store.path());
        if (!store.save(source, &error) || reader.load(loaded) != StoreFile::LoadResult::Loaded ||
            loaded.m_entries != source.m_entries) {
            std::fprintf(stderr, "round trip failed: %s\n", qPrintable(error));
            return 1;
        }
    }

    std::vector<double> saveMs, loadMs, totalMs, baselineMs, formatMs;
    for (int rep = 0; rep < Repetitions; ++rep) {
        QElapsedTimer timer;
        timer.start();
        store.save(source);
        const double save = elapsedMs(timer);

        BenchList loaded;
        StoreFile reader(store.path());
        timer.start();
        reader.load(loaded);
        const double load = elapsedMs(timer);

        saveMs.push_back(save);
        loadMs.push_back(load);
        totalMs.push_back(save + load);
    }

    // The in-memory part alone (serialize, decode, parse), to separate CPU time from file I/O.
    for (int rep = 0; rep < Repetitions; ++rep) {
        QElapsedTimer timer;
        timer.start();
        const QStringList back =
            StoreFormat::parse(StoreFormat::decode(StoreFormat::serialize(source.m_entries)));
        formatMs.push_back(elapsedMs(timer));
        if (back.size() != source.m_entries.size())
            return 1;
    }

    const QByteArray bytes = StoreFormat::serialize(source.m_entries);
    const QString plainPath = dir.filePath(QStringLiteral("plain.txt"));
    for (int rep = 0; rep < Repetitions; ++rep) {
        QElapsedTimer timer;
        timer.start();
        {
            QFile out(plainPath);
            out.open(QIODevice::WriteOnly);
            out.write(bytes);
        }
        QByteArray back;
        {
            QFile in(plainPath);
            in.open(QIODevice::ReadOnly);
            back = in.readAll();
        }
        baselineMs.push_back(elapsedMs(timer));
        if (back.size() != bytes.size()) {
            std::fprintf(stderr, "baseline read back %lld of %lld bytes\n",
                         static_cast<long long>(back.size()), static_cast<long long>(bytes.size()));
            return 1;
        }
    }

    std::printf("entries=%d bytes=%lld repetitions=%d\n", SnippetList::MaxEntries,
                static_cast<long long>(bytes.size()), Repetitions);
    const Stats total = statsOf(totalMs);
    const Stats baseline = statsOf(baselineMs);
    print("save_ms", statsOf(saveMs));
    print("load_ms", statsOf(loadMs));
    print("save_load_ms", total);
    print("format_only_ms", statsOf(formatMs));
    print("baseline_write_read_ms", baseline);
    std::printf("ratio_save_load_to_baseline median=%.2f\n", total.median / baseline.median);
    return 0;
}
