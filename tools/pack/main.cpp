// vocarimo-pack: builds the scrambled course table from a plain word list, and
// reads one back.
//   vocarimo-pack [--encoding utf-8|cp932] INPUT.csv OUTPUT
//   vocarimo-pack --unpack FILE
#include "pack.h"

#include "platform/textcodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <cstdio>
#include <stdexcept>

namespace {

int usage()
{
    std::fputs("使い方: vocarimo-pack [--encoding utf-8|cp932] 単語表.csv 出力ファイル\n"
               "        vocarimo-pack --unpack 出力ファイル\n"
               "単語表.csv は 1 行に 単元,日本語,英語 を書きます（既定は UTF-8）。\n",
               stderr);
    return 2;
}

int error(const QString& message)
{
    std::fprintf(stderr, "vocarimo-pack: %s\n", message.toUtf8().constData());
    return 1;
}

bool readAll(const QString& path, QByteArray* bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    *bytes = f.readAll();
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    try {
        if (args.size() == 2 && args[0] == QStringLiteral("--unpack")) {
            QByteArray bytes;
            if (!readAll(args[1], &bytes))
                return error(QStringLiteral("ファイル「%1」を読めません。").arg(args[1]));
            for (const QString& line : vc::pack::unpackBytes(bytes)) {
                const QByteArray out = line.toUtf8() + '\n';
                std::fwrite(out.constData(), 1, static_cast<size_t>(out.size()), stdout);
            }
            return 0;
        }
        QString encoding = QStringLiteral("utf-8");
        if (args.size() >= 2 && args[0] == QStringLiteral("--encoding")) {
            encoding = args[1].toLower();
            args = args.mid(2);
        }
        if (args.size() != 2 || (encoding != QStringLiteral("utf-8") && encoding != QStringLiteral("cp932")))
            return usage();
        QByteArray bytes;
        if (!readAll(args[0], &bytes))
            return error(QStringLiteral("ファイル「%1」を読めません。").arg(args[0]));
        QString text;
        if (encoding == QStringLiteral("cp932")) {
            const auto decoded = vc::Cp932::decode(bytes);
            if (!decoded)
                return error(QStringLiteral("ファイル「%1」は Shift-JIS ではありません。").arg(args[0]));
            text = *decoded;
        } else {
            if (bytes.startsWith("\xEF\xBB\xBF"))
                bytes.remove(0, 3);
            QStringDecoder utf8(QStringDecoder::Utf8);
            text = utf8.decode(bytes);
            if (utf8.hasError())
                return error(QStringLiteral("ファイル「%1」は UTF-8 ではありません（--encoding cp932 を試してください）。").arg(args[0]));
        }
        const QByteArray packed = vc::pack::packRows(vc::pack::parseCsv(text));
        QSaveFile out(args[1]);
        if (!out.open(QIODevice::WriteOnly) || out.write(packed) != packed.size() || !out.commit())
            return error(QStringLiteral("ファイル「%1」に書き込めません。").arg(args[1]));
        return 0;
    } catch (const std::runtime_error& e) {
        return error(QString::fromStdString(e.what()));
    }
}
