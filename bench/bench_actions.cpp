// Add and Remove by double-click with a full list (the worst case: Add of an unlisted text
// compares against every entry, Remove takes the last one), and drops of a 1 MB text on every
// target, each until the window has repainted. Baselines are measured in the same run.

#include "BenchSupport.h"
#include "core/list/SnippetList.h"
#include "fakes/FakePlatform.h"
#include "main_window/Form1.h"
#include "main_window/SnippetCombo.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QMimeData>
#include <QTest>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int ActionRepetitions = 51;
constexpr int DropRepetitions = 11;
constexpr int WarmUps = 3;
constexpr qsizetype BigTextChars = 1024 * 1024;

/** A real double-click: press, release, double-click, release. */
void doubleClick(QWidget* target)
{
    const QPoint at = target->rect().center();
    QTest::mousePress(target, Qt::LeftButton, {}, at);
    QTest::mouseRelease(target, Qt::LeftButton, {}, at);
    QTest::mouseDClick(target, Qt::LeftButton, {}, at);
    QTest::mouseRelease(target, Qt::LeftButton, {}, at);
}

/** Enters and moves over `target` with `mime`, as a drag does before the drop. */
bool dragOver(QWidget* target, QMimeData& mime)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
    return true;
}

bool drop(QWidget* target, QMimeData& mime)
{
    QDropEvent event(target->rect().center(), Qt::CopyAction | Qt::MoveAction, &mime,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
    return event.isAccepted();
}

/** About 1 MB of prose-like text in lines, as a large document dragged from an editor. */
QString makeBigText()
{
    const QStringList words = BenchSupport::makeEntries(512, 7u);
    QString text;
    text.reserve(BigTextChars);
    int line = 0;
    for (int i = 0; text.size() < BigTextChars; ++i) {
        const QString& word = words.at(i % words.size());
        text.append(QStringView(word).left(4 + i % 9));
        line += 5 + i % 9;
        if (line > 72) {
            text.append(QLatin1Char('\n'));
            line = 0;
        } else {
            text.append(QLatin1Char(' '));
        }
    }
    text.truncate(BigTextChars);
    return text;
}

struct Window
{
    FakePlatform platform;
    Form1 form{platform.services()};

    SnippetCombo* combo() const { return form.findChild<SnippetCombo*>(QStringLiteral("Combo1")); }
    QWidget* widget(const char* name) const
    {
        return form.findChild<QWidget*>(QLatin1String(name));
    }
    bool show()
    {
        form.show();
        const bool exposed = QTest::qWaitForWindowExposed(&form);
        QCoreApplication::processEvents();
        return exposed;
    }
};

struct AddRemove
{
    std::vector<double> addMs, removeMs;
};

/**
 * Adds `text` with a double-click on Add and removes it again with one on Remove, so the list
 * keeps its length. Each time runs from the first mouse event until all events the action
 * posted (repaints included) are handled. Empty result when an action did not do its job.
 */
AddRemove measureAddRemove(Window& window, const QString& text, int repetitions)
{
    AddRemove result;
    SnippetListModel& list = window.form.list();
    const int before = list.count();
    QWidget* add = window.widget("Image2");
    QWidget* remove = window.widget("Image3");
    for (int rep = -WarmUps; rep < repetitions; ++rep) {
        window.combo()->setText(text);
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        doubleClick(add);
        QCoreApplication::processEvents();
        const double addMs = BenchSupport::elapsedMs(timer);
        if (list.count() != before + 1 || list.entryAt(before) != text)
            return {};

        window.combo()->setText(text);
        QCoreApplication::processEvents();
        timer.start();
        doubleClick(remove);
        QCoreApplication::processEvents();
        const double removeMs = BenchSupport::elapsedMs(timer);
        if (list.count() != before)
            return {};
        if (rep >= 0) {
            result.addMs.push_back(addMs);
            result.removeMs.push_back(removeMs);
        }
    }
    return result;
}

struct DropCase
{
    const char* target;
    /** Puts the window into the state before the drop (not timed). */
    std::function<void()> prepare;
    /** True when the drop did what the target does with a text. */
    std::function<bool()> check;
    /** Undoes the drop's effect, so each repetition starts alike (not timed). */
    std::function<void()> undo;
};

void printMedian(const char* name, const std::vector<double>& samples, const char* extra = "")
{
    std::printf("%s median=%.3f min=%.3f max=%.3f n=%zu%s\n", name, BenchSupport::median(samples),
                BenchSupport::minimum(samples), BenchSupport::maximum(samples), samples.size(),
                extra);
}

} // namespace

int main(int argc, char** argv)
{
    const bool xcb = BenchSupport::choosePlatform(argc, argv);
    QApplication app(argc, argv);

    // One entry short of full, so the timed Add is accepted and walks the whole list first.
    const QStringList entries = BenchSupport::makeEntries(SnippetList::MaxEntries - 1);
    // Generated entries never contain '#': this text is certainly not listed.
    const QString text = QStringLiteral("# a snippet that is not in the list, of typical length");

    Window full;
    full.form.list().appendAll(entries);
    Window empty;
    if (!full.show() || !empty.show()) {
        std::fprintf(stderr, "window not exposed\n");
        return 1;
    }

    const AddRemove big = measureAddRemove(full, text, ActionRepetitions);
    const AddRemove small = measureAddRemove(empty, text, ActionRepetitions);
    if (big.addMs.empty() || small.addMs.empty()) {
        std::fprintf(stderr, "Add or Remove did not change the list\n");
        return 1;
    }

    // The least any implementation must do: one linear search of the same entries.
    std::vector<double> searchMs;
    qsizetype sink = 0;
    for (int rep = -WarmUps; rep < ActionRepetitions; ++rep) {
        QElapsedTimer timer;
        timer.start();
        sink += entries.indexOf(text);
        if (rep >= 0)
            searchMs.push_back(BenchSupport::elapsedMs(timer));
    }
    if (sink != -(ActionRepetitions + WarmUps)) {
        std::fprintf(stderr, "baseline search found the unlisted text\n");
        return 1;
    }

    const double addMedian = BenchSupport::median(big.addMs);
    const double removeMedian = BenchSupport::median(big.removeMs);
    const double searchMedian = BenchSupport::median(searchMs);
    const double smallAdd = BenchSupport::median(small.addMs);
    const double smallRemove = BenchSupport::median(small.removeMs);
    std::printf("entries=%d repetitions=%d platform=%s\n", full.form.list().count(),
                ActionRepetitions, xcb ? "xcb" : "offscreen");
    printMedian("add_ms", big.addMs, " (target < 2)");
    printMedian("remove_ms", big.removeMs, " (target < 2)");
    printMedian("baseline_linear_search_ms", searchMs);
    printMedian("add_ms_empty_list", small.addMs);
    printMedian("remove_ms_empty_list", small.removeMs);
    std::printf("ratio add/baseline_search=%.1f remove/baseline_search=%.1f\n",
                addMedian / searchMedian, removeMedian / searchMedian);
    std::printf("ratio add full/empty list=%.2f remove full/empty list=%.2f\n",
                addMedian / smallAdd, removeMedian / smallRemove);

    // Drops of a 1 MB text on every target of the full window.
    const QString bigText = makeBigText();
    Window& w = full;
    SnippetListModel& list = w.form.list();
    const int listed = list.count();
    const DropCase cases[] = {
        {"Combo1", [&] { w.combo()->setText(QString()); },
         [&] { return w.combo()->text() == bigText; }, [&] { w.combo()->setText(QString()); }},
        {"Image1", [&] { w.platform.clipboard.content = QStringLiteral("old"); },
         [&] { return w.platform.clipboard.content == bigText; },
         [&] { w.platform.clipboard.log.clear(); }},
        {"Image2", [&] { w.combo()->setText(QString()); },
         [&] { return list.count() == listed + 1 && list.entryAt(listed) == bigText; },
         [&] { list.removeAt(listed); }},
        // A Remove drop acts on the dropped text: here listed last, so every entry is compared.
        {"Image3", [&] { list.append(bigText); }, [&] { return list.count() == listed; }, [] {}},
        // The fake menu host dismisses the Write menu, as a user pressing Escape would.
        {"Image4", [&] { w.combo()->setText(QString()); },
         [&] { return w.form.PendingText() == bigText; },
         [&] { w.platform.menus.shownMenus.clear(); }},
    };

    std::printf("drop_text_chars=%lld repetitions=%d\n", static_cast<long long>(bigText.size()),
                DropRepetitions);
    for (const DropCase& c : cases) {
        QWidget* target = w.widget(c.target);
        std::vector<double> returnMs, paintedMs;
        for (int rep = -1; rep < DropRepetitions; ++rep) {
            c.prepare();
            w.form.repaint();
            QCoreApplication::processEvents();
            QMimeData mime;
            mime.setText(bigText);
            if (!dragOver(target, mime)) {
                std::fprintf(stderr, "%s refused the text\n", c.target);
                return 1;
            }
            QElapsedTimer timer;
            timer.start();
            const bool taken = drop(target, mime);
            const double returned = BenchSupport::elapsedMs(timer);
            w.form.repaint();
            QCoreApplication::processEvents();
            const double painted = BenchSupport::elapsedMs(timer);
            if (!taken || !c.check()) {
                std::fprintf(stderr, "%s did not act on the drop\n", c.target);
                return 1;
            }
            c.undo();
            if (rep >= 0) {
                returnMs.push_back(returned);
                paintedMs.push_back(painted);
            }
        }
        std::printf("drop_ms target=%s return median=%.2f repainted median=%.2f max=%.2f "
                    "(target <= 200)\n",
                    c.target, BenchSupport::median(returnMs), BenchSupport::median(paintedMs),
                    BenchSupport::maximum(paintedMs));
    }
    return 0;
}
