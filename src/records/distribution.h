#pragma once
#include "records/capacity.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

namespace vc {

// How the school's stored runs of one level are spread, for the standards
// editor: all runs in buckets of ten seconds (0..100, the last also holding
// every longer time and the time-outs), and each student's best time on the
// level (buckets 0..30, the last holding every longer time).
inline constexpr int kAllRunsLastBucket = 100;
inline constexpr int kBestTimeLastBucket = 30;

struct LevelDistribution {
    int level = 0;
    std::array<qint64, kLevelRows> runsPerLevel{};             // stored runs of each level 1..100
    std::array<qint64, kAllRunsLastBucket + 1> allRuns{};      // runs of `level` per bucket
    std::array<qint64, kAllRunsLastBucket + 1> bestTimes{};    // students of `level` per bucket of their best time
};

// From the bytes of the results file (44 per record; an incomplete tail is
// ignored). Records of level 0, and of levels or students outside the
// tables, count nowhere; a negative time counts in bucket 0.
LevelDistribution computeDistribution(const QByteArray& recordBytes, int level);
// Reads the whole results file at `resultsPath` (no lock; a missing file is
// empty) and computes the level's distribution. Throws DataError naming the file.
LevelDistribution readDistribution(const QString& resultsPath, int level);

// The lines of the two lists: a heading, then one line per bucket 0..100
// ("␣␣0～★★…"), a star standing for `scale` counts.
QStringList allRunsLines(const LevelDistribution& d);
QStringList bestTimeLines(const LevelDistribution& d);

// The star scale of a list: the largest count ÷ 10 (integer part), at least 1.
qint64 starScale(const std::array<qint64, kAllRunsLastBucket + 1>& counts);
// Stars for a count: count ÷ scale, rounded half up.
int starCount(qint64 count, qint64 scale);

} // namespace vc
