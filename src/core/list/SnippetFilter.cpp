#include "core/list/SnippetFilter.h"

#include <QElapsedTimer>
#include <algorithm>

namespace {

/** States kept for earlier texts: enough for every prefix of a typed word and some more. */
constexpr std::size_t KeptStates = 32;
/** Entries checked between two looks at the clock. */
constexpr int ChecksPerLook = 256;

/** The positions still to check: `known` ones (ascending) first, then every one from `raw`. */
struct Scan
{
    QList<int> known;
    qsizetype nextKnown = 0;
    int raw = 0;

    /** The next position to check, or `count` when none is left. Every position before it
     *  that is not a candidate is known not to match. */
    int peek(int count) const
    {
        return nextKnown < known.size() ? known.at(nextKnown) : std::min(raw, count);
    }
    void pop()
    {
        if (nextKnown < known.size())
            ++nextKnown;
        else
            ++raw;
    }
    /** What is still to check, as a scan of its own. */
    Scan rest() const { return {known.mid(nextKnown), 0, raw}; }
};

/** `found` (all before the scan's positions) as candidates ahead of the scan's own. */
Scan operator+(const QList<int>& found, const Scan& scan)
{
    return {found + scan.known, 0, scan.raw};
}

} // namespace

/**
 * One text's search in two phases: entries that start with the text (all of the list, unless
 * `limit` of them are found), then entries that contain it elsewhere, until the result is full.
 * `prefix` holds every starting match before `prefixScan.peek()`, `contains` every other match
 * before `containsScan.peek()`: those invariants let a longer text start from them.
 */
struct SnippetFilter::State
{
    QString text;
    QString key;
    QList<int> prefix;
    QList<int> contains;
    Scan prefixScan;
    Scan containsScan;
    bool prefixDone = false;
    bool complete = false;
};

SnippetFilter::SnippetFilter(const QStringList& entries, int limit, QObject* parent)
    : QObject(parent), m_entries(entries), m_limit(limit)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &SnippetFilter::runSlice);
}

SnippetFilter::~SnippetFilter() = default;

void SnippetFilter::setSlice(int milliseconds, int maxChecks)
{
    m_sliceMs = milliseconds;
    m_sliceChecks = maxChecks;
}

void SnippetFilter::setText(const QString& text)
{
    m_text = text;
    m_current = nullptr;
    m_timer.stop();
    if (text.isEmpty())
        return;
    m_current = stateFor(text);
    runSlice();
}

void SnippetFilter::listChanged()
{
    m_states.clear();
    m_firstCharsValid = false;
    setText(m_text);
}

SnippetFilter::State* SnippetFilter::stateFor(const QString& text)
{
    const QString key = text.toCaseFolded();
    State* parent = nullptr;
    for (auto it = m_states.begin(); it != m_states.end(); ++it) {
        State* state = it->get();
        if (state->key == key) {
            // Most recently used last: move it there.
            std::rotate(it, it + 1, m_states.end());
            return m_states.back().get();
        }
        if (key.startsWith(state->key) && (!parent || state->key.size() > parent->key.size()))
            parent = state;
    }

    auto state = std::make_unique<State>();
    state->text = text;
    state->key = key;
    if (parent) {
        // Every match of the longer text matches the shorter one: only those, and what the
        // shorter text had still to check, need a look.
        state->prefixScan = parent->prefix + parent->prefixScan.rest();
        if (parent->prefixDone) {
            const int reached = parent->containsScan.peek(static_cast<int>(m_entries.size()));
            const auto before =
                std::lower_bound(parent->prefix.cbegin(), parent->prefix.cend(), reached);
            QList<int> known((before - parent->prefix.cbegin()) + parent->contains.size());
            std::merge(parent->prefix.cbegin(), before, parent->contains.cbegin(),
                       parent->contains.cend(), known.begin());
            state->containsScan = known + parent->containsScan.rest();
        }
    }
    if (m_states.size() >= KeptStates)
        m_states.erase(m_states.begin());
    m_states.push_back(std::move(state));
    return m_states.back().get();
}

bool SnippetFilter::advance(State& state, int checks)
{
    const int count = static_cast<int>(m_entries.size());
    const QStringView text(state.text);
    if (!m_firstCharsValid) {
        m_firstChars.resize(count);
        for (int i = 0; i < count; ++i)
            m_firstChars[i] =
                m_entries.at(i).isEmpty() ? 0 : m_entries.at(i).front().toCaseFolded().unicode();
        m_firstCharsValid = true;
    }
    // A surrogate folds together with its pair, so only a plain first character can be compared
    // alone.
    const bool firstAlone = !text.front().isSurrogate();
    const char16_t first = text.front().toCaseFolded().unicode();
    while (!state.complete && checks > 0) {
        --checks;
        if (!state.prefixDone) {
            const int at = state.prefixScan.peek(count);
            if (at >= count || state.prefix.size() >= m_limit) {
                state.prefixDone = at >= count;
                // A full result of starting matches needs no others.
                state.complete = state.prefix.size() >= m_limit;
                continue;
            }
            state.prefixScan.pop();
            if (firstAlone && m_firstChars.at(at) != first)
                continue;
            if (QStringView(m_entries.at(at)).startsWith(text, Qt::CaseInsensitive))
                state.prefix.append(at);
        } else {
            const int at = state.containsScan.peek(count);
            if (at >= count || state.prefix.size() + state.contains.size() >= m_limit) {
                state.complete = true;
                continue;
            }
            state.containsScan.pop();
            const QStringView entry(m_entries.at(at));
            // Position 0 is where a starting match would be; those are listed already.
            if (!entry.startsWith(text, Qt::CaseInsensitive) &&
                entry.mid(1).contains(text, Qt::CaseInsensitive))
                state.contains.append(at);
        }
    }
    return state.complete;
}

void SnippetFilter::runSlice()
{
    if (!m_current)
        return;
    State& state = *m_current;
    if (m_sliceChecks > 0) {
        advance(state, m_sliceChecks);
    } else {
        QElapsedTimer clock;
        clock.start();
        while (!advance(state, ChecksPerLook) && clock.elapsed() < m_sliceMs) {
        }
    }
    if (!state.complete) {
        m_timer.start();
        return;
    }
    m_timer.stop();
    QList<int> positions = state.prefix;
    positions.append(state.contains);
    positions.resize(std::min<qsizetype>(positions.size(), m_limit));
    Q_EMIT matched(m_text, positions);
}
