#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

/** Shared pieces of the benchmarks: reproducible snippet texts and sample statistics. */
namespace BenchSupport {

/** Seed for every generated list, so runs on different days measure the same data. */
constexpr std::uint32_t Seed = 20240301u;

/** `count` entries of 20 to 200 printable characters; none contains '#'. */
inline QStringList makeEntries(int count, std::uint32_t seed = Seed)
{
    static const char alphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                   "0123456789.-:/()    ,,";
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> length(20, 200);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof(alphabet)) - 2);
    QStringList entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int n = length(random);
        QString entry;
        entry.reserve(n);
        for (int c = 0; c < n; ++c)
            entry.append(QLatin1Char(alphabet[pick(random)]));
        entries.append(entry);
    }
    return entries;
}

inline double median(std::vector<double> samples)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    const std::size_t mid = samples.size() / 2;
    return samples.size() % 2 ? samples[mid] : (samples[mid - 1] + samples[mid]) / 2.0;
}

inline double minimum(const std::vector<double>& samples)
{
    return samples.empty() ? 0.0 : *std::min_element(samples.begin(), samples.end());
}

inline double maximum(const std::vector<double>& samples)
{
    return samples.empty() ? 0.0 : *std::max_element(samples.begin(), samples.end());
}

inline double elapsedMs(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

/** Offscreen unless `--xcb` is given; call before QApplication. True for X. */
inline bool choosePlatform(int argc, char** argv)
{
    bool xcb = false;
    for (int i = 1; i < argc; ++i)
        xcb = xcb || std::strcmp(argv[i], "--xcb") == 0;
    if (!xcb)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return xcb;
}

} // namespace BenchSupport
