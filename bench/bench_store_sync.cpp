// Times how long an outside change to a full store (32,767 entries) takes from the file being
// replaced to the combo box's list holding the change: the watcher's event, the reload and the
// merge. The baseline, measured in the same run, is a plain load of the same file.
//
// The production quiet period (which collects a burst of changes into one reload) is set to 0
// for the main figure, since it is a deliberate wait rather than work; a second figure keeps it.

#include "BenchSupport.h"
#include "core/store/StoreFile.h"
#include "core/sync/StoreMerge.h"
#include "core/sync/StoreSession.h"
#include "core/sync/StoreWatcher.h"
#include "main_window/SnippetCombo.h"
#include "main_window/SnippetListModel.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <vector>

namespace {

constexpr int Repetitions = 15;

void print(const char* name, const std::vector<double>& samples)
{
    std::printf("%s median=%.3f min=%.3f max=%.3f\n", name, BenchSupport::median(samples),
                BenchSupport::minimum(samples), BenchSupport::maximum(samples));
}

/** Writes `entries` as another program would: a new file renamed over the store. */
void replaceOutside(const QString& path, const QStringList& entries)
{
    SnippetListModel list;
    list.appendAll(entries);
    const QString temporary = path + QStringLiteral(".outside");
    StoreFile(temporary).save(list);
    std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData());
}

/** Times `repetitions` outside additions until the list shows each; -1 on a time-out. */
std::vector<double> timeChanges(SnippetListModel& list, StoreSession& sync, const QString& path,
                                QStringList& file, int repetitions, int tag)
{
    std::vector<double> samples;
    for (int rep = 0; rep < repetitions; ++rep) {
        // An outside line inserted in the middle, as an editor would.
        file.insert(file.size() / 2, QStringLiteral("outside %1/%2").arg(tag).arg(rep));
        const int wanted = list.count() + 1;
        replaceOutside(path, file);
        QElapsedTimer timer;
        timer.start();
        QEventLoop loop;
        QObject::connect(&sync, &StoreSession::merged, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        const double ms = BenchSupport::elapsedMs(timer);
        if (list.count() != wanted)
            return {-1.0};
        samples.push_back(ms);
    }
    return samples;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString path = dir.filePath(QStringLiteral("Text.txt"));
    QStringList file = BenchSupport::makeEntries(SnippetList::MaxEntries - 100);
    replaceOutside(path, file);

    SnippetListModel list;
    SnippetCombo combo(list);
    combo.resize(300, combo.sizeHint().height());
    combo.show();
    list.append(QStringLiteral("12/7/2026"));
    // The program's own store session: reads and merges run on its store thread.
    StoreSession sync(list);
    sync.start(path, QStringLiteral("12/7/2026"));
    combo.setText(QStringLiteral("working text"));
    QApplication::processEvents();

    sync.setQuietMs(0);
    timeChanges(list, sync, path, file, 2, 0); // warm-up
    const std::vector<double> syncMs = timeChanges(list, sync, path, file, Repetitions, 1);
    sync.setQuietMs(StoreWatcher::DefaultQuietMs);
    const std::vector<double> quietMs = timeChanges(list, sync, path, file, 5, 2);
    if (syncMs.front() < 0 || quietMs.front() < 0) {
        std::fprintf(stderr, "a change did not reach the list\n");
        return 1;
    }
    if (combo.text() != QStringLiteral("working text")) {
        std::fprintf(stderr, "the merge changed the working text\n");
        return 1;
    }

    std::vector<double> loadMs, mergeMs;
    const QStringList ours = list.entries();
    for (int rep = 0; rep < Repetitions; ++rep) {
        SnippetListModel loaded;
        QElapsedTimer timer;
        timer.start();
        StoreFile(path).load(loaded);
        loadMs.push_back(BenchSupport::elapsedMs(timer));

        QStringList theirs = loaded.entries();
        theirs.insert(theirs.size() / 3, QStringLiteral("merge only"));
        timer.start();
        const QStringList merged =
            StoreMerge::merge(loaded.entries(), ours, theirs, QStringLiteral("12/7/2026"));
        mergeMs.push_back(BenchSupport::elapsedMs(timer));
        if (merged.size() != ours.size() + 1)
            return 1;
    }

    std::printf("entries=%d repetitions=%d platform=%s\n", static_cast<int>(list.count()),
                Repetitions, qPrintable(QGuiApplication::platformName()));
    print("change_to_list_ms", syncMs);
    print("merge_only_ms", mergeMs);
    print("baseline_plain_load_ms", loadMs);
    std::printf("ratio_change_to_list_to_load median=%.2f\n",
                BenchSupport::median(syncMs) / BenchSupport::median(loadMs));
    print("with_quiet_period_ms", quietMs);
    return 0;
}
