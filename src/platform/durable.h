#pragma once
#include <QString>
#include <functional>

namespace vc {

// Makes the creation, removal or renaming of a file in the folder holding
// `filePath` durable, so a power cut cannot bring a removed file back. Best
// effort: some file servers refuse to sync a folder, and they apply such
// changes at once.
void syncFolderOf(const QString& filePath);

// Tests watch which folders were synced, and in which order with the other
// steps; empty for none.
void setFolderSyncObserver(std::function<void(const QString& folder)> observer);

} // namespace vc
