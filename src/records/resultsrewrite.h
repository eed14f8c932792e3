#pragma once
#include "platform/lockedfile.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>

namespace vc {

// Changing or deleting a record of the shared results file, safely against
// the appends of other computers and against a crash at any moment.
//
// Both operations hold the results file's whole-file lock (the one every
// append takes) from reading the file to the end of the rewrite, and rewrite
// the file in place, so an appender that opened the file meanwhile still
// locks and writes the same file. Before the results file itself is touched,
// the scratch copy "成績累積データtemp.dat" is written and synced: it holds
// the records the rewrite will change and a trailer saying what is being done
// (see docs/architecture.md). When a process dies halfway, the lock goes with
// it, and the next holder of the lock - an append, a deletion, a change or
// the program's start-up - first finishes the interrupted rewrite from that
// copy (completeInterruptedRewrite) before doing its own work.

// "成績累積データtemp.dat" beside the results file at `resultsPath`.
QString rewriteJournalPath(const QString& resultsPath);

// The steps of a rewrite, in order; a test hook may stop the process after any.
enum class RewriteStep {
    JournalPartlyWritten = 1,  // half of the scratch copy written, not synced
    JournalWritten,            // scratch copy complete and synced
    RecordsPartlyWritten,      // the results file half rewritten
    RecordsWritten,            // the results file rewritten and synced, not yet cut
    FileCut,                   // the results file cut to its new length and synced
    JournalRemoved,            // scratch copy deleted, the lock still held
};

struct RewriteOptions {
    std::chrono::milliseconds lockWait = kDefaultLockWait;
    // Called after each step while the lock is held; tests use it to kill the
    // process at a chosen point.
    std::function<void(RewriteStep)> afterStep;
};

enum class RewriteOutcome {
    Done,
    // Record `number` no longer holds the expected bytes (another computer
    // deleted or changed records meanwhile): nothing was changed.
    Stale,
};

// Deletes record `number` (counted from 1): the later records move up by one,
// without gaps, and an incomplete tail left by a failed append goes. Only when
// the record still holds exactly `expected` (its 44 bytes as listed).
// Throws DataError naming the file when the file cannot be locked, read or
// written; up to the point where the scratch copy is complete the results
// file is then unchanged, afterwards the next lock holder completes the
// deletion.
RewriteOutcome deleteResultRecord(const QString& resultsPath, qint64 number, const QByteArray& expected,
                                  const RewriteOptions& options = {});

// Writes `replacement` over record `number`, when it still holds `expected`.
RewriteOutcome replaceResultRecord(const QString& resultsPath, qint64 number, const QByteArray& expected,
                                   const QByteArray& replacement, const RewriteOptions& options = {});

// With the results file's lock held (`lockedResults` is that lock): when a
// scratch copy is left by a rewrite that did not finish, finishes it (or, when
// the copy itself was never completed, drops the copy; the results file was
// not touched then). Returns true when something was left to do.
bool completeInterruptedRewrite(const LockedFile& lockedResults);

// For start-up and the results screens: when a scratch copy lies beside the
// results file, takes the lock and completes the interrupted rewrite. Cheap
// when there is none (one look at the folder). Returns true when it did
// something.
bool recoverResultsFile(const QString& resultsPath, std::chrono::milliseconds lockWait = kDefaultLockWait);

// At start-up: recoverResultsFile, waiting briefly. A failure is no reason
// to keep the program from starting: the next writer retries and reports it.
void recoverResultsFileAtStartUp(const QString& resultsPath);

} // namespace vc
