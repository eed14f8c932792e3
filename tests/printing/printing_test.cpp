// The drawing surfaces: the preview picture, the PDF that stands in for a
// missing printer, its name and folder, and the messages after a print.
#include "printing/pdftools.h"

#include "common/testutil.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "printing/paintersurface.h"
#include "printing/printjob.h"
#include "printing/recordingsurface.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vc;

namespace {

class PdfPrinting : public ::testing::Test {
protected:
    QString folder() const { return dir.path() + QStringLiteral("/out"); }
    std::unique_ptr<PrintJob> start(const QString& what)
    {
        return service.startJob(what);
    }
    QTemporaryDir dir;
    FakeClock clock{QDate(2024, 5, 10), QTime(14, 3, 9)};
    SystemPrintService service{&clock, SystemPrintService::Target::PdfOnly, folder()};
};

TEST_F(PdfPrinting, PagesTextsAndEmbeddedJapaneseFonts)
{
    auto job = start(QStringLiteral("成績レポート 山田"));
    job->setCopyCount(2);
    EXPECT_EQ(job->copyCount(), 2);
    // A4 portrait with the 10 mm border: the drawable area in twips.
    EXPECT_NEAR(job->pageWidth(), kA4WidthTwips, 10);
    EXPECT_NEAR(job->pageHeight(), kA4HeightTwips, 10);
    EXPECT_NEAR(job->innerWidth(), kA4WidthTwips - 2 * 567, 10);
    // A preview sized by the service lays out as the job does.
    EXPECT_NEAR(service.drawableArea().width(), job->innerWidth(), 10);
    EXPECT_NEAR(service.drawableArea().height(), job->innerHeight(), 10);
    job->setFontSize(12);
    job->setCurrentPosition(1000, 1000);
    job->printText(QStringLiteral("回数　ＡＢ 12秒"));
    job->drawLine(0, 0, job->innerWidth(), 0, kRed);
    job->drawPoint(2000, 3000, kBlue);
    job->drawRectangle(500, 500, 3000, 2000);
    job->newPage();
    job->setFontSize(10);
    job->setCurrentPosition(0, 0);
    job->printText(QStringLiteral("あいうえおかきくけこ"));
    job->endDocument();

    const PrintOutcome& outcome = job->outcome();
    ASSERT_EQ(outcome.kind, PrintOutcome::Kind::SavedAsPdf) << outcome.error.toStdString();
    EXPECT_EQ(QFileInfo(outcome.pdfPath).fileName(), QStringLiteral("20240510-140309-成績レポート_山田.pdf"));
    EXPECT_EQ(test::pdfPageCount(outcome.pdfPath), 2);
    const QString text = test::pdfText(outcome.pdfPath);
    EXPECT_TRUE(text.contains(test::nfkc(QStringLiteral("回数"))));
    EXPECT_TRUE(text.contains(QStringLiteral("12秒"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("あいうえおかきくけこ")));
    const QStringList fonts = test::pdfFonts(outcome.pdfPath);
    ASSERT_FALSE(fonts.isEmpty());
    for (const QString& row : fonts) {
        EXPECT_TRUE(row.contains(QStringLiteral("CJKjp"))) << row.toStdString();
        // The "emb" column says yes for every font.
        EXPECT_TRUE(row.split(u' ', Qt::SkipEmptyParts).contains(QStringLiteral("yes"))) << row.toStdString();
    }

    // Ten full-width characters at 10 points are 100 points wide on paper,
    // as the surface measured them (a point size under the twips scale would shrink them).
    const QString bbox = test::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("2"),
                                                                      outcome.pdfPath, QStringLiteral("-")});
    const QRegularExpression word(QStringLiteral("xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\""));
    const QRegularExpressionMatch m = word.match(bbox);
    ASSERT_TRUE(m.hasMatch()) << bbox.toStdString();
    EXPECT_NEAR(m.captured(2).toDouble() - m.captured(1).toDouble(), 100.0, 2.0);
}

TEST_F(PdfPrinting, AnOlderPdfIsNeverOverwritten)
{
    QStringList paths;
    for (int k = 0; k < 3; ++k) {
        auto job = start(QStringLiteral("表"));
        job->setCurrentPosition(0, 0);
        job->printText(QStringLiteral("第%1版").arg(k + 1));
        job->endDocument();
        ASSERT_EQ(job->outcome().kind, PrintOutcome::Kind::SavedAsPdf);
        paths << job->outcome().pdfPath;
    }
    EXPECT_EQ(QFileInfo(paths[1]).fileName(), QStringLiteral("20240510-140309-表-2.pdf"));
    EXPECT_EQ(QFileInfo(paths[2]).fileName(), QStringLiteral("20240510-140309-表-3.pdf"));
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(test::pdfText(paths[k]).contains(test::nfkc(QStringLiteral("第%1版").arg(k + 1))));
}

TEST_F(PdfPrinting, MessagesNameThePdfOrTheFailure)
{
    auto job = start(QStringLiteral("表"));
    job->endDocument();
    RecordingMessages messages;
    tellPrintOutcome(messages, job->outcome());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QDir::toNativeSeparators(job->outcome().pdfPath)));
    EXPECT_EQ(messages.shown[0].icon, MessageService::Icon::Information);

    // A folder that cannot be made: the job draws nothing and fails aloud.
    test::writeBytes(dir.path() + QStringLiteral("/blocked"), "x");
    SystemPrintService blocked(&clock, SystemPrintService::Target::PdfOnly, dir.path() + QStringLiteral("/blocked/sub"));
    auto failed = blocked.startJob(QStringLiteral("表"));
    failed->printText(QStringLiteral("x"));
    failed->drawLine(0, 0, 10, 10);
    failed->newPage();
    failed->endDocument();
    EXPECT_EQ(failed->outcome().kind, PrintOutcome::Kind::Failed);
    tellPrintOutcome(messages, failed->outcome());
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].icon, MessageService::Icon::Warning);
    EXPECT_TRUE(messages.shown[1].text.startsWith(QStringLiteral("印刷できませんでした。")));
    EXPECT_TRUE(messages.shown[1].text.contains(QStringLiteral("blocked")));

    // A job whose document never ended is no success either.
    auto unended = start(QStringLiteral("途中"));
    EXPECT_EQ(unended->outcome().kind, PrintOutcome::Kind::Failed);
}

TEST(PdfFolder, DefaultsToVocarimoInTheDocumentsFolder)
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    const QString folder = defaultPdfFolder();
    FakeClock clock{QDate(2024, 5, 10), QTime(9, 0, 0)};
    SystemPrintService service(&clock, SystemPrintService::Target::PdfOnly);
    auto job = service.startJob(QStringLiteral("表"));
    job->endDocument();
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    EXPECT_EQ(folder, home.path() + QStringLiteral("/Documents/Vocarimo"));
    EXPECT_EQ(job->outcome().pdfPath, folder + QStringLiteral("/20240510-090000-表.pdf"));
    EXPECT_TRUE(QFileInfo(job->outcome().pdfPath).size() > 0);
}

TEST(PreviewSurface, DrawsInTwipsOnAPicture)
{
    // 1440 twips on 96 pixels: 15 twips a pixel.
    ImageSurface surface(14400, 7200, 960);
    EXPECT_EQ(surface.image().size(), QSize(960, 480));
    surface.setLineWidth(5);
    surface.drawPoint(1500, 1500, kRed);
    surface.drawLine(0, 3000, 14400, 3000, kBlue);
    surface.setFontSize(10);
    // A full-width character is one em: 10 points are 200 twips.
    EXPECT_NEAR(surface.textWidth(QStringLiteral("あ")), 200, 1);
    EXPECT_NEAR(surface.textWidth(QStringLiteral("あいう")), 600, 2);
    surface.setCurrentPosition(3000, 4500);
    surface.printText(QStringLiteral("最高"));
    EXPECT_NEAR(surface.currentY(), 4500 + surface.textHeight(QStringLiteral("最高")), 0.01);
    QImage image = surface.image();
    EXPECT_EQ(image.pixelColor(100, 100), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(500, 200), QColor(Qt::blue));
    bool inked = false;
    for (int x = 200; x < 240; ++x)
        for (int y = 300; y < 320; ++y)
            inked = inked || image.pixelColor(x, y) != QColor(Qt::white);
    EXPECT_TRUE(inked);
    surface.clear();
    image = surface.image();
    EXPECT_EQ(image.pixelColor(100, 100), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(500, 200), QColor(Qt::white));
}

} // namespace

namespace {

TEST(WrapText, BreaksAtBlanksOrCharactersByTheFontsWidths)
{
    RecordingSurface surface;  // a full-width character is the font size wide, a half-width one half that
    surface.setFontSize(10);   // 200 twips a full-width character, 100 a half-width one
    EXPECT_EQ(wrapText(surface, QStringLiteral("apple banana cherry"), 1100),
              (QStringList{QStringLiteral("apple"), QStringLiteral("banana"), QStringLiteral("cherry")}));
    EXPECT_EQ(wrapText(surface, QStringLiteral("apple banana"), 1200), (QStringList{QStringLiteral("apple banana")}));
    EXPECT_EQ(wrapText(surface, QStringLiteral("りんごとバナナ"), 600),
              (QStringList{QStringLiteral("りんご"), QStringLiteral("とバナ"), QStringLiteral("ナ")}));
    EXPECT_EQ(wrapText(surface, QStringLiteral("一行目\r\n\r\n三行目"), 2000),
              (QStringList{QStringLiteral("一行目"), QString(), QStringLiteral("三行目")}));
    // Narrower than one character: still one character a line.
    EXPECT_EQ(wrapText(surface, QStringLiteral("単語"), 50), (QStringList{QStringLiteral("単"), QStringLiteral("語")}));
    // At most 128 characters a line, whatever the width.
    const QStringList lines = wrapText(surface, QString(300, u'a'), 1e9);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].size(), 128);
    EXPECT_EQ(lines[2].size(), 44);
}

TEST(WrapText, UsesThePrintFontsRealWidths)
{
    ImageSurface surface(11906, 16838, 794);
    surface.setFontSize(12);
    const double width = surface.textWidth(QStringLiteral("vocabulary drill"));
    // Exactly as wide as the text fits it on one line; a hair less does not.
    EXPECT_EQ(wrapText(surface, QStringLiteral("vocabulary drill"), width), QStringList{QStringLiteral("vocabulary drill")});
    EXPECT_EQ(wrapText(surface, QStringLiteral("vocabulary drill"), width - 1),
              (QStringList{QStringLiteral("vocabulary"), QStringLiteral("drill")}));
}

} // namespace
