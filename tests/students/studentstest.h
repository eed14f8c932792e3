#pragma once
#include "common/testutil.h"
#include "platform/clock.h"
#include "startup/appstate.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace vc::test {

// One roster line as the school's files hold it.
inline QString rosterLine(int number, int birthYear, const QString& name, int status = 0)
{
    return QStringLiteral("%1,%2,0,0,\"%3\",%4,\"\",\"\"").arg(number).arg(birthYear).arg(name).arg(status);
}

// An AppState whose data folder is a temporary folder, on 10 May 2024 with
// the school year starting in April (so BirthYear 2016 is grade 2).
class RosterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        state->paths.DataFolder = dir_.path() + u'/';
        state->settings.SchoolYearStartMonth = 4;
        state->services.clock = &clock;
    }
    void writeRoster(const QStringList& lines) { writeCp932(state->paths.DataFolder + QStringLiteral("新名簿.txt"), lines); }

    FakeClock clock{QDate(2024, 5, 10), QTime(10, 0, 0)};
    std::unique_ptr<AppState> state = std::make_unique<AppState>();

private:
    QTemporaryDir dir_;
};

} // namespace vc::test
