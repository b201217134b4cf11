// Start-up to the first painted window and peak memory, with a full store (32,767 entries)
// against an empty one; with --huge also a store of 300,000 entries (about 35 MB), which is
// then saved and compared byte for byte. Every run is a fresh process: this program starts
// itself again with `--child full|empty|huge <folder>`, and the child reports its own figures
// on one line. Like the program, the child paints the window first and reads the store right
// after; the time until the list is in is reported beside the time to the first paint.

#include "BenchSupport.h"
#include "FirstPaintWatcher.h"
#include "core/list/SnippetList.h"
#include "core/store/StoreFile.h"
#include "core/store/StoreFormat.h"
#include "fakes/FakePlatform.h"
#include "fakes/VectorSnippetList.h"
#include "main_window/Form1.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/mman.h>
#include <utility>
#include <vector>

namespace {

constexpr int DefaultRuns = 11;
constexpr int ChildTimeoutMs = 60000;
constexpr int HugeEntries = 300000;

/** Peak resident set size of this process in KiB, or -1 when the kernel does not say. */
long long peakRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    // Files under /proc report a size of 0, so read to the end rather than up to a size.
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

/**
 * Time to touch `mb` MB of fresh memory, page by page: the floor that the memory a full store's
 * entries take costs in page faults alone, whoever allocates it.
 */
double freshMemoryMs(double mb)
{
    const auto size = static_cast<size_t>(mb * 1024 * 1024);
    void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return -1;
    QElapsedTimer timer;
    timer.start();
    for (size_t at = 0; at < size; at += 4096)
        static_cast<volatile char*>(block)[at] = 1;
    const double ms = BenchSupport::elapsedMs(timer);
    ::munmap(block, size);
    return ms;
}

/**
 * The child: everything the program does from main() to its first painted window, with the
 * store in `folder`. Prints one line of key=value figures, all times in ms since main().
 */
int runChild(const QElapsedTimer& sinceMain, int argc, char** argv)
{
    QApplication app(argc, argv);
    const double appMs = BenchSupport::elapsedMs(sinceMain);

    FakePlatform platform;
    platform.program.programFolder = QString::fromLocal8Bit(argv[3]);
    platform.program.dataFolder = platform.program.programFolder;
    const QString storePath =
        QDir(platform.program.programFolder).filePath(QLatin1String(StoreFile::FileName));

    Form1 form(platform.services());
    form.setStoreLoadAfterFirstPaint(true);
    const double formMs = BenchSupport::elapsedMs(sinceMain);

    QElapsedTimer loadTimer;
    loadTimer.start();
    if (!form.Form_Load()) {
        std::fprintf(stderr, "start-up ended early\n");
        return 2;
    }
    const double loadMs = BenchSupport::elapsedMs(loadTimer);

    double paintEventMs = -1.0;
    double paintedMs = -1.0;
    double listReadyMs = -1.0;
    int entriesAtPaint = -1;
    int loadedEntries = -1;
    FirstPaintWatcher watcher(&form, [&] {
        paintEventMs = BenchSupport::elapsedMs(sinceMain);
        QTimer::singleShot(0, &app, [&] {
            paintedMs = BenchSupport::elapsedMs(sinceMain);
            entriesAtPaint = form.list().count();
            // The parent's clock stops here, not after the figures below are taken.
            std::fputs("painted\n", stdout);
            std::fflush(stdout);
            // Posted after the store's load, which the paint queued.
            QTimer::singleShot(0, &app, [&] {
                listReadyMs = BenchSupport::elapsedMs(sinceMain);
                loadedEntries = form.list().count();
                // exit(), not quit(): quit() closes the window, and closing saves the store.
                QCoreApplication::exit(0);
            });
        });
    });
    // On the application, installed after start-up's own filter, so it sees the paint first.
    app.installEventFilter(&watcher);
    QTimer::singleShot(ChildTimeoutMs, &app, [] { QCoreApplication::exit(3); });

    form.show();
    const int code = QApplication::exec();
    if (code != 0 || paintedMs < 0) {
        std::fprintf(stderr, "no paint within %d ms\n", ChildTimeoutMs);
        return code ? code : 3;
    }

    const long long vmhwmKb = peakRssKb();

    // The same file loaded into a plain list, after the measurement: what the window adds to
    // the loading (model reset, combo box, view) is Form_Load minus this.
    VectorSnippetList plain;
    QElapsedTimer plainTimer;
    plainTimer.start();
    StoreFile(storePath).load(plain);
    const double plainLoadMs = BenchSupport::elapsedMs(plainTimer);

    // Nothing lost: the list saved again gives the very bytes it was loaded from.
    int savedIdentical = -1;
    if (std::strcmp(argv[2], "huge") == 0) {
        QFile original(storePath);
        original.open(QIODevice::ReadOnly);
        const QByteArray before = original.readAll();
        const QString copyPath = storePath + QStringLiteral(".saved");
        const bool saved = StoreFile(copyPath).save(form.list(), nullptr, form.TodayText());
        QFile copy(copyPath);
        copy.open(QIODevice::ReadOnly);
        savedIdentical = saved && copy.readAll() == before ? 1 : 0;
    }

    std::printf("app_ms=%.3f form_ms=%.3f load_ms=%.3f paint_event_ms=%.3f painted_ms=%.3f "
                "list_ready_ms=%.3f entries=%d entries_at_paint=%d vmhwm_kb=%lld "
                "plain_load_ms=%.3f saved_identical=%d\n",
                appMs, formMs, loadMs, paintEventMs, paintedMs, listReadyMs, loadedEntries,
                entriesAtPaint, vmhwmKb, plainLoadMs, savedIdentical);
    std::fflush(stdout);
    return 0;
}

struct ChildResult
{
    bool ok = false;
    QHash<QString, double> values;
    /** Parent's view: from starting the process to the child's report arriving. */
    double spawnToPaintMs = 0.0;
};

ChildResult runOne(const QString& mode, const QString& folder, const QProcessEnvironment& env)
{
    ChildResult result;
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);

    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode, folder});
    QByteArray output;
    while (!output.contains('\n') && child.waitForReadyRead(ChildTimeoutMs))
        output += child.readAllStandardOutput();
    result.spawnToPaintMs = BenchSupport::elapsedMs(timer);
    child.waitForFinished(ChildTimeoutMs);
    output += child.readAllStandardOutput();
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        std::fprintf(stderr, "child %s failed with code %d\n", qPrintable(mode), child.exitCode());
        return result;
    }

    const QList<QByteArray> fields = output.replace('\n', ' ').trimmed().split(' ');
    for (const QByteArray& field : fields) {
        const qsizetype eq = field.indexOf('=');
        if (eq > 0)
            result.values.insert(QString::fromLatin1(field.left(eq)), field.mid(eq + 1).toDouble());
    }
    result.ok = result.values.contains(QStringLiteral("painted_ms"));
    return result;
}

struct Samples
{
    std::vector<double> painted, paintEvent, listReady, load, plainLoad, form, app, spawn, rssMb,
        entries, savedIdentical;

    void add(const ChildResult& r)
    {
        painted.push_back(r.values.value(QStringLiteral("painted_ms")));
        paintEvent.push_back(r.values.value(QStringLiteral("paint_event_ms")));
        listReady.push_back(r.values.value(QStringLiteral("list_ready_ms")));
        load.push_back(r.values.value(QStringLiteral("load_ms")));
        plainLoad.push_back(r.values.value(QStringLiteral("plain_load_ms")));
        form.push_back(r.values.value(QStringLiteral("form_ms")));
        app.push_back(r.values.value(QStringLiteral("app_ms")));
        spawn.push_back(r.spawnToPaintMs);
        rssMb.push_back(r.values.value(QStringLiteral("vmhwm_kb")) / 1024.0);
        entries.push_back(r.values.value(QStringLiteral("entries")));
        savedIdentical.push_back(r.values.value(QStringLiteral("saved_identical")));
    }
};

void printPair(const char* name, const std::vector<double>& empty, const std::vector<double>& full)
{
    std::printf("%s empty median=%.2f full median=%.2f (full min=%.2f max=%.2f)\n", name,
                BenchSupport::median(empty), BenchSupport::median(full),
                BenchSupport::minimum(full), BenchSupport::maximum(full));
}

int runParent(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int runs = DefaultRuns;
    bool xcb = false;
    bool huge = false;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--xcb"))
            xcb = true;
        else if (args.at(i) == QLatin1String("--huge"))
            huge = true;
        else if (args.at(i) == QLatin1String("--runs") && i + 1 < args.size())
            runs = qMax(1, args.at(++i).toInt());
    }

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString emptyFolder = dir.filePath(QStringLiteral("empty"));
    const QString fullFolder = dir.filePath(QStringLiteral("full"));
    QDir().mkpath(emptyFolder);
    const QString hugeFolder = dir.filePath(QStringLiteral("huge"));
    QDir().mkpath(fullFolder);
    QDir().mkpath(hugeFolder);
    const QString fileName = QLatin1String(StoreFile::FileName);
    // Both stores exist, so both children take the same path through start-up.
    if (!StoreFile(QDir(emptyFolder).filePath(fileName)).createEmpty()) {
        std::fprintf(stderr, "cannot create the empty store\n");
        return 1;
    }
    const QByteArray bytes =
        StoreFormat::serialize(BenchSupport::makeEntries(SnippetList::MaxEntries));
    const QByteArray hugeBytes =
        huge ? StoreFormat::serialize(BenchSupport::makeEntries(HugeEntries)) : QByteArray();
    for (const auto& [folder, content] : {std::pair{fullFolder, bytes}, {hugeFolder, hugeBytes}}) {
        QFile store(QDir(folder).filePath(fileName));
        if (!store.open(QIODevice::WriteOnly) || store.write(content) != content.size()) {
            std::fprintf(stderr, "cannot write a store\n");
            return 1;
        }
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!xcb)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!env.contains(QStringLiteral("XDG_RUNTIME_DIR"))) {
        // Keeps Qt's warning about a missing runtime folder out of every child's output.
        const QString runtime = dir.filePath(QStringLiteral("runtime"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    }

    // One discarded run of each warms the file cache and the dynamic loader.
    if (!runOne(QStringLiteral("empty"), emptyFolder, env).ok ||
        !runOne(QStringLiteral("full"), fullFolder, env).ok)
        return 1;

    Samples empty;
    Samples full;
    for (int i = 0; i < runs; ++i) {
        // Alternating which goes first keeps slow drifts of the machine out of the ratio.
        const bool emptyFirst = i % 2 == 0;
        for (int k = 0; k < 2; ++k) {
            const bool isEmpty = (k == 0) == emptyFirst;
            const ChildResult r = runOne(isEmpty ? QStringLiteral("empty") : QStringLiteral("full"),
                                         isEmpty ? emptyFolder : fullFolder, env);
            if (!r.ok)
                return 1;
            (isEmpty ? empty : full).add(r);
        }
    }

    std::printf("runs=%d each, platform=%s, store bytes=%lld, entries listed empty=%.0f "
                "full=%.0f\n",
                runs, xcb ? "xcb" : "offscreen", static_cast<long long>(bytes.size()),
                BenchSupport::median(empty.entries), BenchSupport::median(full.entries));
    const double emptyStart = BenchSupport::median(empty.painted);
    const double fullStart = BenchSupport::median(full.painted);
    std::printf("startup_ms empty median=%.2f full median=%.2f ratio=%.3f (target <= 1.05)\n",
                emptyStart, fullStart, fullStart / emptyStart);
    const double emptySpawn = BenchSupport::median(empty.spawn);
    const double fullSpawn = BenchSupport::median(full.spawn);
    std::printf("spawn_to_paint_ms empty median=%.2f full median=%.2f ratio=%.3f\n", emptySpawn,
                fullSpawn, fullSpawn / emptySpawn);
    printPair("first_paint_event_ms", empty.paintEvent, full.paintEvent);
    const double emptyReady = BenchSupport::median(empty.listReady);
    const double fullReady = BenchSupport::median(full.listReady);
    std::printf("list_ready_ms (store loaded after the paint) empty median=%.2f full median=%.2f "
                "ratio=%.3f\n",
                emptyReady, fullReady, fullReady / emptyReady);
    printPair("qapplication_ms", empty.app, full.app);
    printPair("form_built_ms", empty.form, full.form);
    printPair("form_load_ms", empty.load, full.load);
    printPair("store_load_into_plain_list_ms", empty.plainLoad, full.plainLoad);
    const double emptyRss = BenchSupport::median(empty.rssMb);
    const double fullRss = BenchSupport::median(full.rssMb);
    std::printf("peak_rss_mb empty median=%.2f full median=%.2f diff=%.2f (target <= 10)\n",
                emptyRss, fullRss, fullRss - emptyRss);
    const double storeMb = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
    std::printf("peak_rss_per_store_mb full=%.2f\n", (fullRss - emptyRss) / storeMb);
    std::vector<double> touch;
    for (int i = 0; i < runs; ++i)
        touch.push_back(freshMemoryMs(fullRss - emptyRss));
    std::printf("baseline_touch_fresh_memory_ms size_mb=%.2f median=%.2f (page faults alone)\n",
                fullRss - emptyRss, BenchSupport::median(touch));
    if (!huge)
        return 0;

    Samples big;
    for (int i = 0; i < qMax(1, runs / 3); ++i) {
        const ChildResult r = runOne(QStringLiteral("huge"), hugeFolder, env);
        if (!r.ok)
            return 1;
        big.add(r);
    }
    const double hugeMb = static_cast<double>(hugeBytes.size()) / (1024.0 * 1024.0);
    const double hugeRss = BenchSupport::median(big.rssMb);
    std::printf("huge: runs=%zu entries=%d store_mb=%.1f startup_ms median=%.2f (empty %.2f, "
                "ratio %.2f) peak_rss_mb=%.1f rss_per_store_mb=%.2f saved_identical=%s\n",
                big.painted.size(), HugeEntries, hugeMb, BenchSupport::median(big.painted),
                emptyStart, BenchSupport::median(big.painted) / emptyStart, hugeRss,
                (hugeRss - emptyRss) / hugeMb,
                BenchSupport::minimum(big.savedIdentical) == 1.0 ? "yes" : "NO");
    return BenchSupport::minimum(big.savedIdentical) == 1.0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer sinceMain;
    sinceMain.start();
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0)
        return runChild(sinceMain, argc, argv);
    return runParent(argc, argv);
}
