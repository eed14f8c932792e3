#pragma once
#include <QProcess>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace vc::test {

// Another process that takes the file's lock and keeps it for `ms`
// milliseconds; returns once it holds the lock.
inline std::unique_ptr<QProcess> holdLockElsewhere(const QString& program, const QString& path, int ms)
{
    auto child = std::make_unique<QProcess>();
    child->setProcessChannelMode(QProcess::SeparateChannels);
    child->start(program, {path, QString::number(ms)});
    EXPECT_TRUE(child->waitForStarted(10000));
    EXPECT_TRUE(child->waitForReadyRead(10000));
    EXPECT_EQ(child->readLine().trimmed(), QByteArray("locked"));
    return child;
}

} // namespace vc::test
