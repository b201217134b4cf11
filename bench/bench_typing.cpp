// Keystrokes in the box with a full list, from the key event until the window and the filter
// pop-up are painted with the new matches: the letter that every entry contains, a second
// letter that narrows, and a Backspace that widens again. Lists of 32,767 entries of 20-200
// characters and of 30,000 entries of about 1 KB, against the empty list in the same run. Then
// the other things a user does with a full list open, each until painted.
//
//   xvfb-run -a build/bench/bench/bench_typing --xcb

#include "BenchSupport.h"
#include "core/list/SnippetFilter.h"
#include "core/list/SnippetList.h"
#include "fakes/FakePlatform.h"
#include "main_window/FilterPopup.h"
#include "main_window/Form1.h"
#include "main_window/SnippetCombo.h"
#include "main_window/controls/PanelStatusBar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr int Repetitions = 31;
constexpr int WarmUps = 3;

/** Prose-like entries of `minChars` to `maxChars` characters: sentences of common words, some
 *  with a line break. Each contains 'e', as nearly all real ones do. */
QStringList makeProse(int count, int minChars, int maxChars, std::uint32_t seed)
{
    static const char* const words[] = {
        "the",     "meeting", "is",      "moved",    "to",        "Thursday",  "please",  "send",
        "invoice", "number",  "address", "London",   "Street",    "thanks",    "for",     "your",
        "order",   "regards", "call",    "me",       "tomorrow",  "about",     "project", "review",
        "budget",  "draft",   "final",   "version",  "attached",  "password",  "reset",   "link",
        "account", "support", "team",    "hello",    "world",     "customer",  "ticket",  "update",
        "server",  "backup",  "weekly",  "report",   "quarter",   "sales",     "north",   "office",
        "kind",    "Monday",  "June",    "delivery", "tracking",  "code",      "shipped", "today",
        "and",     "with",    "from",    "our",      "confirmed", "signature", "phone",   "email"};
    constexpr int wordCount = sizeof(words) / sizeof(words[0]);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> length(minChars, maxChars);
    std::uniform_int_distribution<int> pick(0, wordCount - 1);
    QStringList entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int n = length(random);
        QString entry;
        entry.reserve(n + 16);
        entry += QString::number(i) + QLatin1Char(' ');
        while (entry.size() < n) {
            entry += QLatin1String(words[pick(random)]);
            const int r = pick(random);
            entry += r == 0   ? QStringLiteral("\n")
                     : r == 1 ? QStringLiteral(", ")
                              : QStringLiteral(" ");
        }
        entry.truncate(n);
        if (!entry.contains(QLatin1Char('e')))
            entry += QStringLiteral(" re");
        entries.append(entry);
    }
    return entries;
}

/** Counts paint events of the widgets it watches. */
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

struct Window
{
    FakePlatform platform;
    Form1 form{platform.services()};
    SnippetCombo* combo = form.findChild<SnippetCombo*>(QStringLiteral("Combo1"));
    PaintCounter boxPaints, popupPaints;

    explicit Window(const QStringList& entries)
    {
        form.list().appendAll(entries);
        combo->lineEdit()->installEventFilter(&boxPaints);
        combo->filterPopup()->viewport()->installEventFilter(&popupPaints);
    }
    /** Shows the window and gives the box the keyboard, as a user's click would. */
    bool show()
    {
        form.show();
        form.activateWindow();
        const bool active = QTest::qWaitForWindowActive(&form);
        combo->lineEdit()->setFocus();
        QCoreApplication::processEvents();
        return active;
    }
    QWidget* widget(const char* name) const
    {
        return form.findChild<QWidget*>(QLatin1String(name));
    }
};

/** Handles events until `done` holds; false after 5 s. */
bool processUntil(const std::function<bool()>& done)
{
    QElapsedTimer limit;
    limit.start();
    while (!done()) {
        if (limit.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return true;
}

struct KeyTimes
{
    std::vector<double> handledMs; // until the key event has been handled
    std::vector<double> boxMs;     // until the box is painted with the new text
    std::vector<double> popupMs;   // until the pop-up is painted with the new matches
};

/**
 * One key in the box: time until the box has painted, and until the matching is done and the
 * pop-up has painted (or has closed, when nothing matches). False if the key went astray.
 */
bool pressKey(Window& w, Qt::Key key, const QString& expectText, KeyTimes& times, bool keep)
{
    FilterPopup* popup = w.combo->filterPopup();
    const int boxBefore = w.boxPaints.paints;
    const int popupBefore = w.popupPaints.paints;
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(w.combo, key); // the focus widget, as for a real key
    const double handledMs = BenchSupport::elapsedMs(timer);
    if (!processUntil([&] { return w.boxPaints.paints > boxBefore; }))
        return false;
    const double boxMs = BenchSupport::elapsedMs(timer);
    const bool settled = processUntil([&] {
        if (w.combo->text() != expectText)
            return false;
        if (w.form.list().count() == 0)
            return !popup->isVisible();
        return popup->isVisible() && !w.combo->findChild<SnippetFilter*>()->isBusy() &&
               w.popupPaints.paints > popupBefore;
    });
    const double popupMs = BenchSupport::elapsedMs(timer);
    if (!settled)
        return false;
    if (keep) {
        times.handledMs.push_back(handledMs);
        times.boxMs.push_back(boxMs);
        times.popupMs.push_back(popupMs);
    }
    return true;
}

struct Typing
{
    KeyTimes first, narrow, widen;
    int offered = 0;
};

/** Types `first`, then `second`, then Backspace, from an empty box, repeatedly. */
bool measureTyping(Window& w, QChar first, QChar second, Typing& out)
{
    const Qt::Key firstKey = Qt::Key(Qt::Key_A + (first.unicode() - 'a'));
    const Qt::Key secondKey = Qt::Key(Qt::Key_A + (second.unicode() - 'a'));
    for (int rep = -WarmUps; rep < Repetitions; ++rep) {
        w.combo->setText(QString());
        w.form.repaint();
        QCoreApplication::processEvents();
        const bool keep = rep >= 0;
        if (!pressKey(w, firstKey, QString(first), out.first, keep) ||
            !pressKey(w, secondKey, QString(first) + second, out.narrow, keep) ||
            !pressKey(w, Qt::Key_Backspace, QString(first), out.widen, keep))
            return false;
        out.offered = static_cast<int>(w.combo->filterPopup()->entries().size());
    }
    w.combo->setText(QString());
    return true;
}

void print(const char* name, const std::vector<double>& samples, const char* extra = "")
{
    std::printf("  %-34s median=%8.3f min=%8.3f max=%8.3f%s\n", name, BenchSupport::median(samples),
                BenchSupport::minimum(samples), BenchSupport::maximum(samples), extra);
}

void printTyping(const char* list, const Typing& t, const Typing& empty, const char* target)
{
    std::printf("%s (offered rows after the first letter: %d)\n", list, t.offered);
    print("key_worst_letter handled_ms", t.first.handledMs);
    print("key_worst_letter box_painted_ms", t.first.boxMs);
    print("key_worst_letter popup_painted_ms", t.first.popupMs, target);
    print("key_narrowing handled_ms", t.narrow.handledMs);
    print("key_narrowing box_painted_ms", t.narrow.boxMs);
    print("key_narrowing popup_painted_ms", t.narrow.popupMs, target);
    print("key_backspace handled_ms", t.widen.handledMs);
    print("key_backspace box_painted_ms", t.widen.boxMs);
    print("key_backspace popup_painted_ms", t.widen.popupMs, target);
    std::printf("  ratio popup_painted full/empty list: worst %.2f narrowing %.2f backspace %.2f\n",
                BenchSupport::median(t.first.popupMs) / BenchSupport::median(empty.first.popupMs),
                BenchSupport::median(t.narrow.popupMs) / BenchSupport::median(empty.narrow.popupMs),
                BenchSupport::median(t.widen.popupMs) / BenchSupport::median(empty.widen.popupMs));
}

/** Times `action` until every event it caused (repaints included) is handled. */
std::vector<double> timeAction(Window& w, const std::function<void()>& prepare,
                               const std::function<void()>& action)
{
    std::vector<double> samples;
    for (int rep = -WarmUps; rep < Repetitions; ++rep) {
        prepare();
        w.form.repaint();
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        action();
        QCoreApplication::processEvents();
        if (rep >= 0)
            samples.push_back(BenchSupport::elapsedMs(timer));
    }
    return samples;
}

/** The other paths with a full list, each from its event until painted. */
void measureOtherPaths(Window& w)
{
    std::printf("other paths, %d entries (target < 16 each)\n", w.form.list().count());
    SnippetListModel& list = w.form.list();
    const int listed = list.count();
    QLineEdit* box = w.combo->lineEdit();
    const auto typeE = [&] {
        w.combo->setText(QString());
        box->setFocus();
        QTest::keyClick(w.combo, Qt::Key_E);
        processUntil([&] { return !w.combo->findChild<SnippetFilter*>()->isBusy(); });
    };
    const auto drop = [](QWidget* target, const QString& text) {
        QMimeData mime;
        mime.setText(text);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent event(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    };
    const QString added = QStringLiteral("# a new snippet dropped from another program");
    QWidget* add = w.widget("Image2");
    QWidget* remove = w.widget("Image3");

    print("dropdown_open_ms", timeAction(
                                  w, [&] { w.combo->hidePopup(); }, [&] { w.combo->showPopup(); }));
    print("add_drop_dropdown_open_ms",
          timeAction(
              w, [&] { w.combo->showPopup(); }, [&] { drop(add, added); }));
    w.combo->setText(added);
    print("remove_drop_dropdown_open_ms", timeAction(
                                              w,
                                              [&] {
                                                  if (list.count() == listed)
                                                      list.append(added);
                                                  w.combo->showPopup();
                                              },
                                              [&] { drop(remove, added); }));
    w.combo->hidePopup();
    while (list.count() > listed)
        list.removeAt(listed);
    print("add_drop_filter_open_ms", timeAction(w, typeE, [&] { drop(add, added); }));
    print("remove_drop_filter_open_ms", timeAction(
                                            w,
                                            [&] {
                                                if (list.count() == listed)
                                                    list.append(added);
                                                typeE();
                                            },
                                            [&] { drop(remove, added); }));
    while (list.count() > listed)
        list.removeAt(listed);
    print("drop_on_box_filter_open_ms", timeAction(w, typeE, [&] { drop(w.combo, added); }));
    auto* status = w.form.findChild<PanelStatusBar*>(QStringLiteral("StatusBar1"));
    QWidget* messagePanel = status->panel(PanelStatusBar::MessagePanel);
    print("shrink_or_restore_click_ms",
          timeAction(
              w, [] {}, [&] { QTest::mouseClick(messagePanel, Qt::LeftButton); }));
    QTimer* clockTimer = status->findChild<QTimer*>();
    print("clock_tick_filter_open_ms",
          timeAction(w, typeE, [&] { QMetaObject::invokeMethod(clockTimer, "timeout"); }));
}

} // namespace

int main(int argc, char** argv)
{
    const bool xcb = BenchSupport::choosePlatform(argc, argv);
    QApplication app(argc, argv);

    const QStringList full = makeProse(SnippetList::MaxEntries, 20, 200, BenchSupport::Seed);
    const QStringList big = makeProse(30000, 900, 1150, BenchSupport::Seed + 1);
    for (const QStringList* entries : {&full, &big}) {
        for (const QString& e : *entries)
            if (!e.contains(QLatin1Char('e'))) {
                std::fprintf(stderr, "an entry without the worst letter\n");
                return 1;
            }
    }
    qint64 bigChars = 0;
    for (const QString& e : big)
        bigChars += e.size();
    std::printf("platform=%s repetitions=%d keys: 'e' (in every entry), 'r' (narrows), Backspace\n",
                xcb ? "xcb" : "offscreen", Repetitions);

    Typing emptyTyping, fullTyping, bigTyping;
    {
        Window empty({});
        Window fullWindow(full);
        if (!empty.show() || !measureTyping(empty, u'e', u'r', emptyTyping) || !fullWindow.show() ||
            !measureTyping(fullWindow, u'e', u'r', fullTyping)) {
            std::fprintf(stderr, "a key went astray\n");
            return 1;
        }
        printTyping("empty list (baseline)", emptyTyping, emptyTyping, "");
        printTyping("32,767 entries of 20-200 chars", fullTyping, emptyTyping, " (target < 16)");
        measureOtherPaths(fullWindow);
    }
    {
        Window bigWindow(big);
        if (!bigWindow.show() || !measureTyping(bigWindow, u'e', u'r', bigTyping)) {
            std::fprintf(stderr, "a key went astray in the 1 KB list\n");
            return 1;
        }
        std::printf("30,000 entries, %.1f MB of text:\n", static_cast<double>(bigChars) / 1e6);
        printTyping("30,000 entries of ~1 KB", bigTyping, emptyTyping,
                    " (box target < 16, pop-up < 100)");
    }
    return 0;
}
