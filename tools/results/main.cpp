// vocarimo-results: the results file of a course, for the school's IT
// person. Works through the program's own reader and writers' lock, so it is
// safe while students store runs on other computers.
//   vocarimo-results check FOLDER          the file's state; exit 0 only when sound
//   vocarimo-results backup FOLDER DEST    a consistent copy, taken under the lock
//   vocarimo-results export FOLDER         every record as CSV on standard output
//   vocarimo-results repair [--yes] FOLDER finish an interrupted change or deletion, cut a torn tail
//   vocarimo-results share FOLDER          whether the folder's mount keeps locks on the server
// FOLDER is the course folder that holds 成績累積データ.dat.
#include "platform/errors.h"
#include "platform/sharecheck.h"
#include "records/resultsfile.h"
#include "records/resultstool.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

void say(FILE* to, const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
}

int usage()
{
    say(stderr, QStringLiteral(
                    "使い方: vocarimo-results check フォルダ          成績ファイルの状態を調べます（問題がなければ終了コード 0）\n"
                    "        vocarimo-results backup フォルダ 保存先  ロックを取って一貫した写しを作ります\n"
                    "        vocarimo-results export フォルダ         全記録を CSV（UTF-8、BOM 付き）で標準出力に書きます\n"
                    "        vocarimo-results repair [--yes] フォルダ 途中で止まった変更・消去を仕上げ、書きかけの末尾を切ります\n"
                    "        vocarimo-results share フォルダ          共有フォルダーのロックがサーバーに届くか調べます\n"
                    "フォルダは 成績累積データ.dat のあるコースのフォルダです。"));
    return 2;
}

int fail(const QString& message)
{
    say(stderr, QStringLiteral("vocarimo-results: ") + message);
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return usage();
    const QString command = args.takeFirst();
    const bool yes = args.removeAll(QStringLiteral("--yes")) > 0;
    if (yes && command != QStringLiteral("repair"))
        return usage();
    const qsizetype wanted = command == QStringLiteral("backup") ? 2 : 1;
    if (args.size() != wanted)
        return usage();
    const QFileInfo folderInfo(args[0]);
    if (!folderInfo.isDir())
        return fail(QStringLiteral("フォルダ「%1」がありません。").arg(args[0]));
    const QString folder = QDir(folderInfo.absoluteFilePath()).path() + u'/';
    const QString results = vc::resultsFilePath(folder);

    try {
        if (command == QStringLiteral("check")) {
            const vc::ResultsHealth health = vc::checkResults(results);
            for (const QString& line : health.describe(results))
                say(stdout, line);
            return health.sound() ? 0 : 1;
        }
        if (command == QStringLiteral("backup")) {
            if (!QFileInfo::exists(results))
                return fail(QStringLiteral("「%1」がありません。").arg(results));
            QString destination = args[1];
            if (QFileInfo(destination).isDir())
                destination = QDir(destination).filePath(QStringLiteral("成績累積データ-%1.dat")
                                                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
            const qint64 copied = vc::backupResults(results, destination);
            say(stdout, QStringLiteral("%1 件の記録を「%2」に写しました。").arg(copied).arg(destination));
            return 0;
        }
        if (command == QStringLiteral("export")) {
            vc::exportResultsCsv(results, [](const QByteArray& bytes) {
                std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
            });
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (command == QStringLiteral("repair")) {
            if (!QFileInfo::exists(results))
                return fail(QStringLiteral("「%1」がありません。").arg(results));
            const vc::ResultsHealth health = vc::checkResults(results);
            if (health.tailBytes == 0 && !health.interruptedRewrite) {
                for (const QString& line : health.describe(results))
                    say(stdout, line);
                say(stdout, QStringLiteral("直すものはありません。"));
                return health.sound() ? 0 : 1;
            }
            if (!yes) {
                for (const QString& line : health.describe(results))
                    say(stdout, line);
                say(stdout, QStringLiteral("直しますか？ (y/N) "));
                std::string answer;
                if (!std::getline(std::cin, answer) || (answer != "y" && answer != "Y" && answer != "yes")) {
                    say(stdout, QStringLiteral("何も変えませんでした。"));
                    return 1;
                }
            }
            const vc::RepairOutcome done = vc::repairResults(results);
            if (done.rewriteFinished)
                say(stdout, QStringLiteral("途中で止まっていた変更・消去を仕上げました。"));
            if (done.rewriteSetAside)
                say(stdout, QStringLiteral("作業ファイルが今の成績ファイルに合わないため、別名で残しました（成績ファイルはそのままです）。"));
            if (done.tailCut > 0)
                say(stdout, QStringLiteral("書きかけの末尾 %1 バイトを切り取りました。").arg(done.tailCut));
            return vc::checkResults(results).sound() ? 0 : 1;
        }
        if (command == QStringLiteral("share")) {
            const vc::ShareSafety safety = vc::checkShareSafety(folder, results);
            say(stdout, QStringLiteral("マウント: %1 (%2) %3").arg(safety.mountPoint, safety.fsType, safety.options));
            say(stdout, safety.safe ? QStringLiteral("複数のコンピューターで安全に共有できます。") : safety.reason);
            return safety.safe ? 0 : 1;
        }
    } catch (const vc::DataError& e) {
        return fail(e.message());
    }
    return usage();
}
