#include "startup.h"

#include "drill/soundcues.h"
#include "records/pendingresults.h"
#include "records/resultsrewrite.h"
#include "records/resultsfile.h"
#include "records/standards.h"

namespace vc {

// The standards file, then the course's own default times over its two time columns.
void loadStandardsStep(AppState& state)
{
    loadStandards(standardsFilePath(state.paths.CourseFolder), state.standards);
    applyDefaultTimes(state.standards, state.course.DefaultTargetTime, state.course.LevelCount);
}

// Sound set-up in the sound folder; required like the other set-up files.
void loadSoundStep(AppState& state)
{
    loadSoundCues(state);
}

void pendingResultsStep(AppState& state)
{
    if (state.LocalDataFolder.isEmpty())
        return;
    const QString results = resultsFilePath(state.paths.CourseFolder);
    state.PendingResultsFile = pendingResultsPath(state.LocalDataFolder, results);
    state.loadedResults.setPendingFile(state.PendingResultsFile);
    try {
        deliverPendingRecords(results, state.PendingResultsFile, std::chrono::seconds(2));
    } catch (const DataError&) {
        // Still locked or out of reach: the runs wait for the next append and
        // meanwhile count from the pending file.
    }
}

void shareCheckStep(AppState& state)
{
    // The results file is the one file several computers write at once.
    const QString folder = state.paths.CourseFolder;
    const QString results = resultsFilePath(folder);
    state.shareSafety = state.services.checkShare ? state.services.checkShare(folder, results) : checkShareSafety(folder, results);
    state.setAsideResultsCopies = setAsideCopies(results);
}

} // namespace vc
