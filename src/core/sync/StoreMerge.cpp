#include "core/sync/StoreMerge.h"

#include <QHash>
#include <algorithm>
#include <climits>
#include <vector>

namespace {

/** What the merge knows about one distinct text. */
struct Counts
{
    int base = 0;
    int ours = 0;
    int theirs = 0;
    int result = 0;
    /** Copies `theirs` lacks without having seen them: counted as still there. */
    int unseen = 0;
    int seen = 0;
    int kept = 0;
    /** The first of this text's kept entries of ours; the rest follow through `nextSame`. */
    int firstKept = -1;
    int lastKept = -1;
};

/** How many copies of a text the merge keeps, from the three counts. */
int mergedCount(int base, int ours, int theirs)
{
    const int ourChange = ours - base;
    const int theirChange = theirs - base;
    // The same kind of change on both sides is one change: an entry added in both places
    // appears once, not twice.
    if (ourChange >= 0 && theirChange >= 0)
        return base + std::max(ourChange, theirChange);
    if (ourChange <= 0 && theirChange <= 0)
        return base + std::min(ourChange, theirChange);
    return ours + theirs - base;
}

constexpr int Skipped = -1;

} // namespace

namespace {

QStringList mergeCounted(const QStringList& base, const QStringList& ours,
                         const QStringList& theirs, const QString& leaveOut,
                         const QHash<QString, int>& unseen)
{
    // Each distinct text gets a number once, so that everything after this pass works on
    // integers: one hash lookup per entry in all.
    QHash<QString, int> ids;
    ids.reserve(ours.size() + theirs.size() / 8 + 16);
    std::vector<Counts> counts;
    counts.reserve(static_cast<size_t>(ours.size()) + 16);
    const auto idsOf = [&](const QStringList& texts, int Counts::*count) {
        std::vector<int> result(static_cast<size_t>(texts.size()));
        for (qsizetype i = 0; i < texts.size(); ++i) {
            const QString& text = texts.at(i);
            if (!leaveOut.isEmpty() && text == leaveOut) {
                result[static_cast<size_t>(i)] = Skipped;
                continue;
            }
            int& id = ids[text]; // 0 for a new text, else its number + 1
            if (id == 0) {
                counts.emplace_back();
                id = static_cast<int>(counts.size());
            }
            ++(counts[static_cast<size_t>(id - 1)].*count);
            result[static_cast<size_t>(i)] = id - 1;
        }
        return result;
    };
    idsOf(base, &Counts::base);
    const std::vector<int> ourIds = idsOf(ours, &Counts::ours);
    const std::vector<int> theirIds = idsOf(theirs, &Counts::theirs);
    for (auto it = unseen.cbegin(); it != unseen.cend(); ++it)
        if (const int id = ids.value(it.key()); id > 0)
            counts[static_cast<size_t>(id - 1)].unseen = it.value();
    for (Counts& c : counts)
        c.result = mergedCount(c.base, c.ours,
                               c.theirs + std::min(c.unseen, std::max(0, c.base - c.theirs)));

    // Our entries in our order, as many of each text as the merge keeps.
    std::vector<int> kept; // positions in ours
    kept.reserve(ourIds.size());
    std::vector<int> nextSame;
    nextSame.reserve(ourIds.size());
    size_t leading = 0; // entries left out at the top of ours, which stay on top
    for (size_t i = 0; i < ourIds.size(); ++i) {
        const int id = ourIds[i];
        if (id == Skipped) {
            if (kept.size() == leading)
                ++leading;
        } else {
            Counts& c = counts[static_cast<size_t>(id)];
            if (c.kept == c.result)
                continue;
            const int position = static_cast<int>(kept.size());
            if (c.kept++ == 0)
                c.firstKept = position;
            else
                nextSame[static_cast<size_t>(c.lastKept)] = position;
            c.lastKept = position;
        }
        kept.push_back(static_cast<int>(i));
        nextSame.push_back(-1);
    }

    // The outside's additions: the last copies of each text in their file beyond what ours
    // keeps. Each belongs to a group after its anchor: 0 is the top, p + 1 follows kept entry
    // p, and the last group is the end.
    const int endGroup = static_cast<int>(kept.size()) + 1;
    std::vector<std::pair<int, int>> additions; // group, position in theirs
    int anchor = 0;
    for (size_t i = 0; i < theirIds.size(); ++i) {
        const int id = theirIds[i];
        if (id == Skipped)
            continue;
        Counts& c = counts[static_cast<size_t>(id)];
        const int occurrence = c.seen++;
        if (occurrence >= c.theirs - std::max(0, c.result - c.kept)) {
            additions.emplace_back(anchor, static_cast<int>(i));
        } else if (c.kept == 0) {
            anchor = endGroup;
        } else {
            // The same copy among ours as in their file, or our last one.
            int position = c.firstKept;
            for (int k = std::min(occurrence, c.kept - 1); k > 0; --k)
                position = nextSame[static_cast<size_t>(position)];
            anchor = position + 1;
        }
    }
    if (additions.empty() && kept.size() == ourIds.size())
        return ours;

    std::stable_sort(additions.begin(), additions.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList result;
    result.reserve(static_cast<qsizetype>(kept.size() + additions.size()));
    auto next = additions.cbegin();
    const auto addGroup = [&](int group) {
        for (; next != additions.cend() && next->first == group; ++next)
            result.append(theirs.at(next->second));
    };
    for (size_t p = 0; p < leading; ++p)
        result.append(ours.at(kept[p]));
    addGroup(0);
    for (size_t p = leading; p < kept.size(); ++p) {
        result.append(ours.at(kept[p]));
        addGroup(static_cast<int>(p) + 1);
    }
    addGroup(endGroup);
    return result;
}

} // namespace

QStringList StoreMerge::merge(const QStringList& base, const QStringList& ours,
                              const QStringList& theirs, const QString& leaveOut,
                              const QHash<QString, int>& unseen)
{
    // An outside change rarely touches the top of the file. Entries at the same place in all
    // three lists from the top are kept as they are and would count the same on every side,
    // so only the rest is counted; the result is the same, in a fraction of the time. Date
    // entries at the top of ours stay there.
    qsizetype lead = 0;
    while (!leaveOut.isEmpty() && lead < ours.size() && ours.at(lead) == leaveOut)
        ++lead;
    const qsizetype limit = std::min({base.size(), ours.size() - lead, theirs.size()});
    qsizetype same = 0;
    while (same < limit && base.at(same) == theirs.at(same) &&
           base.at(same) == ours.at(lead + same) &&
           (leaveOut.isEmpty() || base.at(same) != leaveOut))
        ++same;
    if (same == 0)
        return mergeCounted(base, ours, theirs, leaveOut, unseen);
    QStringList result = ours.first(lead + same);
    result.append(mergeCounted(base.sliced(same), ours.sliced(lead + same), theirs.sliced(same),
                               leaveOut, unseen));
    return result;
}

QStringList StoreMerge::mergeAdditions(const QStringList& ours, const QStringList& copy,
                                       const QString& leaveOut)
{
    // Against an empty base both sides only added, and the same addition counts once.
    return merge({}, ours, copy, leaveOut);
}

QHash<QString, int> StoreMerge::copiesBeyond(const QStringList& before, const QStringList& after,
                                             const QString& leaveOut)
{
    const auto left = [&](const QString& text) { return !leaveOut.isEmpty() && text == leaveOut; };
    // Most changes touch few entries: what both lists share at the top and at the bottom
    // needs no counting.
    qsizetype b = 0, a = 0, bEnd = before.size(), aEnd = after.size();
    while (b < bEnd && a < aEnd) {
        if (left(before.at(b)))
            ++b;
        else if (left(after.at(a)))
            ++a;
        else if (before.at(b) == after.at(a))
            ++b, ++a;
        else
            break;
    }
    while (bEnd > b && aEnd > a) {
        if (left(before.at(bEnd - 1)))
            --bEnd;
        else if (left(after.at(aEnd - 1)))
            --aEnd;
        else if (before.at(bEnd - 1) == after.at(aEnd - 1))
            --bEnd, --aEnd;
        else
            break;
    }
    QHash<QString, int> counts;
    for (; a < aEnd; ++a)
        if (!left(after.at(a)))
            ++counts[after.at(a)];
    for (; b < bEnd; ++b)
        if (!left(before.at(b)))
            if (const auto it = counts.find(before.at(b)); it != counts.end())
                --it.value();
    counts.removeIf([](const auto& item) { return item.value() <= 0; });
    return counts;
}

QHash<QString, int> StoreMerge::unseenRemovals(const QStringList& base, const QStringList& theirs,
                                               qint64 theirsModifiedNs,
                                               const QHash<QString, Written>& written,
                                               const QString& leaveOut)
{
    QHash<QString, int> unseen;
    if (written.isEmpty())
        return unseen;
    // Mostly the outside version holds what we wrote: then there is nothing to decide.
    const QHash<QString, int> lacking = copiesBeyond(theirs, base, leaveOut);
    if (std::none_of(lacking.keyBegin(), lacking.keyEnd(),
                     [&](const QString& text) { return written.contains(text); }))
        return unseen;

    // Copies of each text we wrote, in base and in theirs; and whether all else is the same,
    // in the same order.
    QHash<QString, std::pair<int, int>> held;
    bool othersSame = true;
    const auto nextOther = [&](const QStringList& entries, qsizetype& at,
                               int std::pair<int, int>::*count) {
        for (; at < entries.size(); ++at) {
            const QString& text = entries.at(at);
            if (!leaveOut.isEmpty() && text == leaveOut)
                continue;
            if (!written.contains(text))
                return true;
            ++(held[text].*count);
        }
        return false;
    };
    qsizetype b = 0, t = 0;
    for (bool inBase = true, inTheirs = true; inBase || inTheirs; ++b, ++t) {
        inBase = inBase && nextOther(base, b, &std::pair<int, int>::first);
        inTheirs = inTheirs && nextOther(theirs, t, &std::pair<int, int>::second);
        if (inBase != inTheirs || (inBase && base.at(b) != theirs.at(t)))
            othersSame = false;
    }

    // The latest of our saves the outside version shows it has seen.
    int seenSave = 0;
    bool onlyOursLeftOut = othersSame;
    for (auto it = held.cbegin(); it != held.cend(); ++it) {
        const auto [inBase, inTheirs] = it.value();
        const Written& write = written.value(it.key());
        // More copies than the outside held before we wrote: it holds one of ours.
        if (inTheirs > 0 && inTheirs > inBase - write.copies)
            seenSave = std::max(seenSave, write.save);
        if (inTheirs > inBase || inBase - inTheirs > write.copies)
            onlyOursLeftOut = false;
    }
    if (onlyOursLeftOut)
        seenSave = INT_MAX;

    for (auto it = held.cbegin(); it != held.cend(); ++it) {
        const auto [inBase, inTheirs] = it.value();
        const Written& write = written.value(it.key());
        const int missing = std::min(inBase - inTheirs, write.copies);
        if (missing > 0 && (theirsModifiedNs < write.savedNs || write.save > seenSave))
            unseen.insert(it.key(), missing);
    }
    return unseen;
}
