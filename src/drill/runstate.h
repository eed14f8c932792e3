#pragma once
#include <QtGlobal>

namespace vc {

struct AppState;

// The values of the drill run in progress, kept program-wide so that the
// end-of-drill screen can read the result. startDrill resets them.
struct RunState {
    // Time of day (seconds since midnight) at which the clock started, and the
    // day it started on (days since 1899-12-30). A wrong choice in the choice
    // step moves runStartTime 10 seconds earlier, which may take it below 0;
    // the day keeps the run's length right across midnight.
    float runStartTime = 0;
    qint64 runStartDay = 0;

    qint32 elapsedSeconds = 0;  // whole seconds since the start, updated every second
    qint32 timeLimit = 0;       // 5 × minimumTime of the level
    double barScale = 0;        // time-bar width units per second
    qint16 endReason = 0;       // 1 after a time-out
    bool runEnding = false;     // the end of the run has begun; a second end request is ignored

    // Run-control flags of the answer entry.
    bool judging = false;      // an answer is being judged
    bool inputLocked = false;  // after a wrong answer, until "次へ"
    int wrongAnswerTally = 0;  // wrong answers of the run

    qint32 resultSeconds = 0;  // the result handed to the records; 99999 after a time-out

    bool timedOut() const { return endReason == 1; }
};

// The result of a run that ran out of time.
inline constexpr qint32 kTimedOutResult = 99999;

// Resets the run values, lets pending screen events run and opens the drill
// on AppState::CurrentLevel. Called by the level screen and by "もう一度".
void startDrill(AppState& state);

} // namespace vc
