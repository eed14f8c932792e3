#include "records/distribution.h"

#include "records/resultrecord.h"
#include "records/resultsfile.h"

#include <QtEndian>
#include <algorithm>
#include <limits>
#include <vector>

namespace vc {
namespace {

int bucketOf(qint32 seconds, int last)
{
    return std::clamp(seconds / 10, 0, last);
}

QStringList lines(const QString& heading, const std::array<qint64, kAllRunsLastBucket + 1>& counts, qint64 scale)
{
    QStringList out;
    out.reserve(kAllRunsLastBucket + 2);
    out.append(heading);
    for (int b = 0; b <= kAllRunsLastBucket; ++b)
        out.append((QStringLiteral("  ") + QString::number(10 * b)).right(4) + u'～'
                   + QString(starCount(counts[static_cast<size_t>(b)], scale), u'★'));
    return out;
}

} // namespace

LevelDistribution computeDistribution(const QByteArray& recordBytes, int level)
{
    LevelDistribution d;
    d.level = level;
    // Each student's best time on the shown level; only that level is needed.
    std::vector<qint32> best(kStudentRows, std::numeric_limits<qint32>::max());
    const char* p = recordBytes.constData();
    const qsizetype end = recordBytes.size() / kResultRecordSize * kResultRecordSize;
    for (qsizetype at = 0; at < end; at += kResultRecordSize) {
        const qint16 recordLevel = qFromLittleEndian<qint16>(p + at + 18);
        if (recordLevel < 1 || recordLevel >= kLevelRows)
            continue;
        const qint16 student = qFromLittleEndian<qint16>(p + at + 16);
        if (!isStudentSlot(student))
            continue;
        ++d.runsPerLevel[static_cast<size_t>(recordLevel)];
        if (recordLevel != level)
            continue;
        const qint32 seconds = qFromLittleEndian<qint32>(p + at + 20);
        ++d.allRuns[static_cast<size_t>(bucketOf(seconds, kAllRunsLastBucket))];
        qint32& b = best[static_cast<size_t>(student)];
        b = std::min(b, seconds);
    }
    for (qint32 b : best)
        if (b != std::numeric_limits<qint32>::max())
            ++d.bestTimes[static_cast<size_t>(bucketOf(b, kBestTimeLastBucket))];
    return d;
}

LevelDistribution readDistribution(const QString& resultsPath, int level)
{
    ResultsFile file(resultsPath);
    return computeDistribution(file.readBytes(1, file.recordCount()), level);
}

qint64 starScale(const std::array<qint64, kAllRunsLastBucket + 1>& counts)
{
    const qint64 scale = *std::max_element(counts.begin(), counts.end()) / 10;
    return scale == 0 ? 1 : scale;
}

int starCount(qint64 count, qint64 scale)
{
    // Half up: count / scale + 0.5, integer part.
    return static_cast<int>((2 * count + scale) / (2 * scale));
}

QStringList allRunsLines(const LevelDistribution& d)
{
    const qint64 scale = starScale(d.allRuns);
    const qint64 runs = d.level >= 1 && d.level < kLevelRows ? d.runsPerLevel[static_cast<size_t>(d.level)] : 0;
    return lines(QStringLiteral("レベル%1 今まで%2回  （★=%3）").arg(d.level).arg(runs).arg(scale), d.allRuns, scale);
}

QStringList bestTimeLines(const LevelDistribution& d)
{
    const qint64 scale = starScale(d.bestTimes);
    return lines(QStringLiteral("レベル%1 （★=%2）").arg(d.level).arg(scale), d.bestTimes, scale);
}

} // namespace vc
