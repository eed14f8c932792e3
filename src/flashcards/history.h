#pragma once
#include <QString>
#include <QStringList>

namespace vc {

// "今までのあなたの結果(全データは　結果<n>.csv　に保存されています)"
QString historyCaption(int studentNumber);

// One row of the history list; the prompt always starts at character 70.
QString historyRow(const QString& levelName, const QString& prompt, const QString& expected, const QString& result);

struct HistoryRows {
    QStringList rows;
    QString error;  // why the log could not be read to its end, naming it; empty when it could
};

// The rows of the answer log at `path` whose level name is "p" + one of the
// chosen unit labels, in file order; correct answers are left out when
// `wrongOnly`. A missing log is created empty. A log that cannot be created or
// read gives the rows before the fault and the reason.
HistoryRows readHistory(const QString& path, const QStringList& chosenUnits, bool wrongOnly);

} // namespace vc
