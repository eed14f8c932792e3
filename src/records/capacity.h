#pragma once
#include <QtGlobal>

namespace vc {

// Fixed capacities of the per-level and per-student tables. Level 0 and
// student 0 exist as slots but no rule reads them.
inline constexpr int kLevelRows = 101;     // levels 0..100
inline constexpr int kStudentRows = 5001;  // students 0..5000
inline constexpr int kLoadedRecordLimit = 20000;

// Times in whole seconds.
inline constexpr qint32 kNoTime = 99999;         // a time-out, and "no best time yet"
inline constexpr qint32 kTimeOutFloor = 99998;   // from here on a run earns nothing
inline constexpr qint32 kValidRunLimit = 5000;   // a run is valid below this

inline constexpr bool isLevelSlot(int level) { return level >= 0 && level < kLevelRows; }
inline constexpr bool isStudentSlot(int student) { return student >= 0 && student < kStudentRows; }

} // namespace vc
