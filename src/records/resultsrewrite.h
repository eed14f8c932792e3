#pragma once
#include "platform/lockedfile.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>

namespace vc {

// Changing or deleting a record of the shared results file, safely against
// the appends of other computers and against a crash at any moment.
//
// Both operations hold the writers' lock of the results file (the one every
// append takes) from reading the file to the end of the rewrite, do every
// read and write through it, and rewrite the file in place, so an appender
// that opened the file meanwhile still locks and writes the same file.
// Before the results file itself is touched, the scratch copy
// "成績累積データtemp.dat" is written, synced and put in place by a rename: it
// holds the records the rewrite will change and a trailer saying what is
// being done (see docs/architecture.md). When a process dies halfway, the
// lock goes with it, and the next holder of the lock - an append, a
// deletion, a change or the program's start-up - first finishes the
// interrupted rewrite from that copy (completeInterruptedRewrite) before
// doing its own work.

// "成績累積データtemp.dat" beside the results file at `resultsPath`.
QString rewriteJournalPath(const QString& resultsPath);

// Where the scratch copy is written before it is complete.
QString rewriteWorkPath(const QString& journalPath);
// What the name of a scratch copy set aside holds after its stem.
QString setAsideMark();
// The scratch copies set aside beside the results file (oldest name first):
// "成績累積データtemp-退避-yyyyMMdd-HHmmss.dat". The program never deletes
// them; they wait for the teacher or the school's IT person to look at.
QStringList setAsideCopies(const QString& resultsPath);
// What the teacher is told of them (empty for none).
QString setAsideNotice(const QStringList& copies);

// The steps of a rewrite, in order; a test hook may stop the process after any.
enum class RewriteStep {
    JournalPartlyWritten = 1,  // half of the scratch copy written under its work name
    JournalWritten,            // scratch copy complete, synced and in place
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

enum class Recovery {
    Nothing,   // no rewrite was left unfinished
    Finished,  // an interrupted rewrite was finished from its scratch copy
    Dropped,   // a copy never completed was removed; the file was not touched then
    // A scratch copy that is not ours, is damaged, or does not fit the
    // results file as it is now (records from the rewritten one on neither
    // as they were nor moved up by one: an old copy brought back by a
    // restore or a folder sync) was renamed aside untouched; the results
    // file was left as it is. setAsideCopies() lists it.
    SetAside,
};

// Whether a change or deletion left its scratch copy (complete or not)
// beside the results file, seen in a fresh listing of the folder (a look-up
// by name on a network share may answer from a cache). Meant for the holder
// of the lock: without it, a rewrite in progress also counts.
bool hasInterruptedRewrite(const QString& resultsPath);

// With the results file's lock held (`lockedResults` is that lock): when a
// scratch copy is left by a rewrite that did not finish, finishes it, drops a
// copy never completed, or sets aside one that must not be applied.
Recovery completeInterruptedRewrite(LockedFile& lockedResults);

// For start-up and the results screens: when a scratch copy lies beside the
// results file, takes the lock and completes the interrupted rewrite. Cheap
// when there is none (one look at the folder).
Recovery recoverResultsFile(const QString& resultsPath, std::chrono::milliseconds lockWait = kDefaultLockWait);

// At start-up: recoverResultsFile, waiting briefly. A failure is no reason
// to keep the program from starting: the next writer retries and reports it.
void recoverResultsFileAtStartUp(const QString& resultsPath);

} // namespace vc
