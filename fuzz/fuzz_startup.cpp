// Start-up over a small school whose one set-up file (FUZZ_FILE: the common
// settings or the course format) holds the fuzzer's bytes.
#include "fuzzutil.h"
#include "pack.h"
#include "platform/errors.h"
#include "platform/textcodec.h"
#include "startup/appstate.h"
#include "startup/startup.h"

#include <memory>

namespace {

const QString& school()
{
    static const QString root = [] {
        const QString r = vc::fuzz::scratch();
        auto text = [](const QStringList& lines) { return vc::Cp932::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).value(); };
        const QString data = r + QStringLiteral("data/");
        vc::fuzz::writeFile(r + QStringLiteral("パスデータ.txt"), text({u'"' + data + u'"', "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
        vc::fuzz::writeFile(data + QStringLiteral("共通データ.txt"), text({"4", QStringLiteral("\"12345北校\""), "0", "0", "0", "0", "0", "0", "0", "0"}));
        vc::fuzz::writeFile(r + QStringLiteral("単語/softname.txt"), text({QStringLiteral("\"中学英単語\"")}));
        vc::fuzz::writeFile(data + QStringLiteral("単語/出題形式.csv"),
                            text({QStringLiteral("３レベル,1,1なら3レベル"), QStringLiteral("選択肢,1,既定"), QStringLiteral("選択ラベル,1,既定"),
                                  QStringLiteral("文字パネル,1,既定"), QStringLiteral("接尾1,1,1番目"), QStringLiteral("接尾2,2,2番目"),
                                  QStringLiteral("接尾3,3,3番目")}));
        vc::fuzz::writeFile(r + QStringLiteral("単語/E0002vv.ccc"),
                            vc::pack::packRows(vc::pack::parseCsv(QStringLiteral("L1,りんご,apple\nL1,本,book\nL2,ねこ,cat\n"))));
        QStringList standards{QStringLiteral("目標Time,最低Time,ｸﾘｱﾎﾟｲﾝﾄ,ｸﾘｱ回数,ﾎﾟｲﾝﾄ倍率,禁回,禁点,判期間,禁期間,,,")};
        for (int k = 0; k < 6; ++k)
            standards << QStringLiteral("40,60,30,3,1,5,60,7,1,,,");
        vc::fuzz::writeFile(data + QStringLiteral("単語/タイム回数データ.txt"), text(standards));
        vc::fuzz::writeFile(data + QStringLiteral("音フォルダ/新音ファイル.txt"), text({QStringLiteral("正解音2"), QStringLiteral("a"), QStringLiteral("*")}));
        return r;
    }();
    return root;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString root = school();
    vc::fuzz::writeFile(root + QStringLiteral(FUZZ_FILE), vc::fuzz::bytesOf(data, size));
    // One state for every run, as the big tables in it take long to build.
    static auto state = std::make_unique<vc::AppState>();
    try {
        vc::resolveDataAndSettings(*state, root + QStringLiteral("単語"));
        vc::startCourse(*state);
    } catch (const vc::DataError&) {
    }
    return 0;
}
