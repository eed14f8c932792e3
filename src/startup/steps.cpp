#include "startup.h"

namespace vc {

// Standards file and the course's default times; filled in with the records code.
void loadStandardsStep(AppState&) {}

// Sound set-up in the sound folder; filled in with the sound cues.
void loadSoundStep(AppState&) {}

} // namespace vc
