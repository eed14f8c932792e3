#pragma once
#include "appstate.h"

namespace vc {

// Fills DataPaths, CommonSettings and the course configuration, then the later
// start-up steps (standards, default times, sound set-up). `programFolder` is
// the executable's folder. Throws DataError naming the file on any bad input.
void resolveDataAndSettings(AppState& state, const QString& programFolder);

// Reads softname.txt, 出題形式.csv and the course table; derives units, levels
// and default standard times.
void loadCourseConfiguration(AppState& state);

// The unit of level i (1-based), by the course's grouping.
int unitOfLevel(const CourseConfig& course, int level);

// Names the levels for a fresh login and opens the level screen.
void startCourse(AppState& state);

// Background colour of the name-selection and level screens by month.
unsigned seasonBackColor(int month);

// The school text of 共通データ.txt split into code and name.
void splitSchoolText(const QString& text, QString* code, QString* name);

// The launcher program beside the program folder and its argument.
QString launcherProgram(const DataPaths& paths);
// Starts the launcher and ends the program; when the launcher cannot be
// started, says so and the program goes on.
void returnToLauncher(AppState& state);

// The steps that follow the course configuration at start-up: the standards
// file, the default times and the sound set-up.
void loadStandardsStep(AppState& state);
void loadSoundStep(AppState& state);
// Names this computer's pending file of runs (when LocalDataFolder is set)
// and hands any runs still waiting in it to the results file.
void pendingResultsStep(AppState& state);
// Checks once whether several computers can share the course folder (its
// mount's lock options, a lock probe on the results file) into shareSafety.
void shareCheckStep(AppState& state);

} // namespace vc

namespace vc {
// Made while the name-selection screen loads: when another instance of the
// program runs, says so and ends this one. Returns true when refused.
bool refuseSecondInstance(AppState& state);

// "Version" + major.minor.revision, e.g. "Version1.1.8".
QString versionLine(int major, int minor, int revision);
} // namespace vc
