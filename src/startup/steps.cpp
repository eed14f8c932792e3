#include "startup.h"

#include "drill/soundcues.h"
#include "records/standards.h"

namespace vc {

// The standards file, then the course's own default times over its two time columns.
void loadStandardsStep(AppState& state)
{
    loadStandards(standardsFilePath(state.paths.CourseFolder), state.standards);
    applyDefaultTimes(state.standards, state.course.DefaultTargetTime, state.course.LevelCount);
}

// Sound set-up in the sound folder. A missing set-up file is no start-up
// error: the cues then fail when played, and the cue rule deals with that.
void loadSoundStep(AppState& state)
{
    loadSoundCues(state);
}

} // namespace vc
