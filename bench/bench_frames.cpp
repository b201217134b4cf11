// The longest gap between two painted frames of the main window while the user types and adds
// and removes entries with a full list (32,766 and 32,767 entries), each change saved a second
// later by the program's own background save (with slow flushes, each remove comes while the
// add's save is being flushed). Run once with every flush made 500 ms slow by the
// slow_flush shim and once without, each as a fresh process, several times; prints medians.
//
//   xvfb-run -a build/bench/bench/bench_frames --xcb

#include "BenchSupport.h"
#include "core/store/StoreFormat.h"
#include "fakes/MainWindowHarness.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 5;
constexpr int Rounds = 6;

/** Asks for a frame every 4 ms and keeps the longest time between two paints of the window. */
class FrameGaps : public QObject
{
public:
    explicit FrameGaps(QWidget& window) : m_window(window)
    {
        window.installEventFilter(this);
        m_timer.setInterval(4);
        connect(&m_timer, &QTimer::timeout, &window, qOverload<>(&QWidget::update));
        m_timer.start();
    }
    double longestMs() const { return m_longest; }
    int frames() const { return m_frames; }
    /** What the user was doing; the longest gap is kept for each. */
    void setPhase(const char* phase) { m_phase = phase; }
    QString perPhase() const
    {
        QString text;
        for (auto it = m_byPhase.cbegin(); it != m_byPhase.cend(); ++it)
            text += QStringLiteral(" %1=%2").arg(it.key()).arg(it.value(), 0, 'f', 2);
        return text;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_window && event->type() == QEvent::Paint) {
            if (m_since.isValid()) {
                const double gap = BenchSupport::elapsedMs(m_since);
                m_longest = std::max(m_longest, gap);
                m_byPhase[QLatin1String(m_phase)] =
                    std::max(m_byPhase.value(QLatin1String(m_phase)), gap);
            }
            m_since.start();
            ++m_frames;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& m_window;
    QTimer m_timer;
    QElapsedTimer m_since;
    double m_longest = 0;
    int m_frames = 0;
    const char* m_phase = "idle";
    QMap<QString, double> m_byPhase;
};

/**
 * Runs the event loop for `ms`. QTest::qWait sleeps 10 ms between its passes over the events,
 * which would be measured as gaps of the program's own.
 */
void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

/** One measurement; prints "longest_gap_ms=... frames=... entries_saved_at_exit=...". */
int runChild(int argc, char** argv)
{
    QApplication app(argc, argv);
    MainWindowHarness h;
    // With the date entry the list holds 32,766, and 32,767 after each add.
    if (!h.load({}, StoreFormat::serialize(BenchSupport::makeEntries(SnippetList::MaxEntries - 2))))
        return 2;
    Form1& form = *h.form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 3;
    runFor(300);
    FrameGaps gaps(form);
    QLineEdit* box = h.combo()->lineEdit();
    for (int round = 0; round < Rounds; ++round) {
        const QString text = QStringLiteral("bench %1").arg(round);
        gaps.setPhase("typing");
        box->selectAll();
        for (const QChar c : text) {
            QTest::keyClick(box, c.toLatin1(), Qt::NoModifier, 0);
            runFor(20);
        }
        QTest::keyClick(box, Qt::Key_Escape);
        box->setText(text);
        gaps.setPhase("add");
        h.doubleClick(QStringLiteral("Image2"));
        gaps.setPhase("saving");
        // The save a second later; with slow flushes the remove comes while it is flushed, so
        // the store thread's result has to be merged with it.
        runFor(1200);
        box->setText(text);
        gaps.setPhase("remove");
        h.doubleClick(QStringLiteral("Image3"));
        gaps.setPhase("saving");
        runFor(1700);
    }
    const double longest = gaps.longestMs();
    const int frames = gaps.frames();
    const QString perPhase = gaps.perPhase();
    form.close(); // the final save waits for the store thread
    std::printf("longest_gap_ms=%.2f frames=%d entries_saved_at_exit=%lld longest_by_phase:%s\n",
                longest, frames, static_cast<long long>(h.storeBytes().count('\n')),
                qPrintable(perPhase));
    return 0;
}

double runOnce(const QString& self, const QStringList& args, bool slow)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (slow)
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(SLOW_FLUSH_LIBRARY));
    child.setProcessEnvironment(env);
    child.start(self, QStringList{QStringLiteral("--child")} + args);
    child.waitForFinished(120000);
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
    std::printf("  %s: %s\n", slow ? "500 ms flush" : "plain flush ", qPrintable(out));
    return out.section(QLatin1Char('='), 1, 1).section(QLatin1Char(' '), 0, 0).toDouble();
}

} // namespace

int main(int argc, char** argv)
{
    const bool xcb = BenchSupport::choosePlatform(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);
    QCoreApplication app(argc, argv);
    const QStringList args = xcb ? QStringList{QStringLiteral("--xcb")} : QStringList();
    std::vector<double> slow, plain;
    for (int run = 0; run < Runs; ++run) {
        plain.push_back(runOnce(QCoreApplication::applicationFilePath(), args, false));
        slow.push_back(runOnce(QCoreApplication::applicationFilePath(), args, true));
    }
    std::printf("longest_frame_gap_ms median: 500 ms flush=%.2f plain flush=%.2f (target < 16)\n",
                BenchSupport::median(slow), BenchSupport::median(plain));
    return 0;
}
