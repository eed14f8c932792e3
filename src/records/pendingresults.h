#pragma once
#include "platform/lockedfile.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <vector>

namespace vc {

// Finished runs that could not reach the shared results file (another
// computer kept it locked past the limit, or the file server was gone) wait
// in a pending file of this computer, outside the shared folder, and are
// appended to the results file, oldest first and exactly once, by the next
// append or the next start of the program.
//
// The pending file holds whole 44-byte records, nothing else, and is always
// replaced atomically. Delivery appends under the results file's lock, then
// removes the pending file (durably, before the unlock); a crash in between
// leaves records that are in both, which the next delivery recognises byte
// for byte and skips (two runs never share every byte: each new record
// carries a random tag, resultrecord.h).

// This computer's pending file for a results file: the local folder, then
// "未送信成績-" and a hash of the results file's path, so every course (and
// every school's share) keeps its own.
QString pendingResultsPath(const QString& localFolder, const QString& resultsPath);

// The whole records waiting in the pending file; none when it is missing.
std::vector<QByteArray> readPendingRecords(const QString& pendingPath);

// Adds one record at the end of the pending file (created with its folder
// when missing). Throws DataError naming the file when it cannot be written.
void addPendingRecord(const QString& pendingPath, const QByteArray& record);

// Under the lock that `results` holds: appends every pending record not yet
// in the results file, in their order, after its last complete record, then
// removes the pending file. Returns how many were appended.
int deliverPendingRecords(LockedFile& results, const QString& pendingPath);

// Takes the results file's lock (waiting up to `wait`) and delivers. Used at
// start-up; a file still locked or unreachable throws DataError and the
// records keep waiting.
int deliverPendingRecords(const QString& resultsPath, const QString& pendingPath, std::chrono::milliseconds wait);

} // namespace vc
