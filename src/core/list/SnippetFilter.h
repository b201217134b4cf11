#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>
#include <vector>

/**
 * Finds the entries to offer for a typed text: those that start with it, then those that
 * contain it elsewhere, each group in list order, ignoring case, at most `limit()` of them.
 *
 * The work for a key is kept to what that key needs: a text that extends an earlier one only
 * re-checks that text's matches (and the part of the list it had not reached), a shorter text
 * picks up where it was left, and scanning stops once `limit()` matches are certain. What is
 * left after one slice of time continues in later slices from the event loop, so keys and
 * paints are handled in between. `matched` is only ever emitted for the current text.
 */
class SnippetFilter : public QObject
{
    Q_OBJECT
public:
    /** Matches in `entries`, which must outlive the filter; call listChanged() after changes. */
    explicit SnippetFilter(const QStringList& entries, int limit = 200, QObject* parent = nullptr);
    ~SnippetFilter() override;

    /** Starts matching `text`. A result found within the first slice is emitted at once. */
    void setText(const QString& text);
    /** The text being matched; empty when idle. */
    QString text() const { return m_text; }
    /** Stops matching; nothing more is emitted until the next setText(). */
    void clear() { setText(QString()); }
    /** The list changed: earlier results no longer hold. Matches the current text again. */
    void listChanged();

    int limit() const { return m_limit; }
    /** True while a result for text() is still being looked for. */
    bool isBusy() const { return m_timer.isActive(); }
    /** Time for one slice of work, and (for tests) a cap on the entries checked in it. */
    void setSlice(int milliseconds, int maxChecks = -1);

Q_SIGNALS:
    /** The best matches for `text` (positions in the list), best first. */
    void matched(const QString& text, const QList<int>& positions);

private:
    struct State;
    State* stateFor(const QString& text);
    /** Checks up to `checks` entries for `state`; true once its result is certain. */
    bool advance(State& state, int checks);
    void runSlice();

    const QStringList& m_entries;
    /** Each entry's first character, case-folded: most entries fail a starting match on it,
     *  and reading it here spares a look into every entry's text. Rebuilt after a change. */
    QList<char16_t> m_firstChars;
    bool m_firstCharsValid = false;
    const int m_limit;
    QString m_text;
    State* m_current = nullptr;
    /** What earlier texts found, most recently used last, so Backspace and narrowing reuse it. */
    std::vector<std::unique_ptr<State>> m_states;
    QTimer m_timer;
    int m_sliceMs = 4;
    int m_sliceChecks = -1;
};
