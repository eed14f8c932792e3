#pragma once
#include "platform/lockedfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>

namespace vc {

// What the school's IT person can do with a course's results file from a
// terminal (vocarimo-results), through the same reader and writers' lock as
// the program, so it is safe while students store runs.

// The state of the results file, seen under the writers' lock.
struct ResultsHealth {
    bool exists = false;
    qint64 records = 0;          // complete records
    qint64 tailBytes = 0;        // bytes of an incomplete record at the end
    qint64 outsideTables = 0;    // records of a level outside 0..100 or a student outside 0..5000
    qint64 firstOutside = 0;     // the first such record (counted from 1), 0 for none
    bool interruptedRewrite = false;  // a change or deletion left unfinished
    QStringList setAside;        // scratch copies set aside (never applied)

    // Nothing for anyone to look at or mend.
    bool sound() const { return tailBytes == 0 && outsideTables == 0 && !interruptedRewrite && setAside.isEmpty(); }
    // One Japanese line per finding, the count first.
    QStringList describe(const QString& resultsPath) const;
};

ResultsHealth checkResults(const QString& resultsPath, std::chrono::milliseconds lockWait = kDefaultLockWait);

// A consistent copy of the results file, read under the lock (and of an
// unfinished rewrite's scratch copy beside it, as `destination` + "temp").
// `destination` must not exist yet. Returns the number of records copied.
qint64 backupResults(const QString& resultsPath, const QString& destination,
                     std::chrono::milliseconds lockWait = kDefaultLockWait);

// Every complete record as CSV (UTF-8 with a BOM, CR LF, a header naming
// every field), handed out in pieces to `out`.
void exportResultsCsv(const QString& resultsPath, const std::function<void(const QByteArray&)>& out);

// What repair did: an unfinished rewrite finished (or its copy dropped or
// set aside) and an incomplete tail cut off.
struct RepairOutcome {
    bool rewriteFinished = false;
    bool rewriteSetAside = false;
    qint64 tailCut = 0;  // bytes
};
RepairOutcome repairResults(const QString& resultsPath, std::chrono::milliseconds lockWait = kDefaultLockWait);

} // namespace vc
