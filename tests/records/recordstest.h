#pragma once
#include "records/resultrecord.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace vc::test {

// A course folder of its own for each test.
class CourseFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString folder() const { return dir_.path() + u'/'; }
    QString file(const QString& name) const { return folder() + name; }

private:
    QTemporaryDir dir_;
};

inline ResultRecord makeRun(double runDate, qint16 student, qint16 level, qint32 seconds)
{
    ResultRecord r;
    r.runDate = runDate;
    r.runTime = 0.5;
    r.studentNumber = student;
    r.level = level;
    r.seconds = seconds;
    return r;
}

inline QByteArray encodeAll(const std::vector<ResultRecord>& records)
{
    QByteArray bytes;
    for (const ResultRecord& r : records)
        bytes += encodeResultRecord(r);
    return bytes;
}

} // namespace vc::test
