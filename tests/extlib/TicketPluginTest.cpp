#include "extlib/QtKobuRes.h"
#include "extlib/TicketHelper.h"
#include "extlib/TicketPlugin.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <string>
#include <vector>

using namespace fareboard;

namespace {

const QString kSample = QString::fromUtf8(FAREBOARD_SAMPLE_PLUGIN_PATH);

QString testPlugin(const char* path) { return QString::fromUtf8(path); }

// Whether the host still has the file mapped: the one place that cannot be fooled by a
// loader's own bookkeeping.
bool mappedIntoProcess(const QString& path)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return false;
    return maps.readAll().contains(QFileInfo(path).canonicalFilePath().toUtf8());
}

QImage whiteSurface(int width, int height)
{
    QImage surface(width, height, QImage::Format_RGB32);
    surface.fill(Qt::white);
    return surface;
}

int nonWhitePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

// Reads an Interleaved 2 of 5 symbol from the dark and light runs of one pixel row; empty when
// the row holds none.
std::string readItf(const QImage& image, int y)
{
    std::vector<int> runs;  // alternating, starting with a dark run
    bool dark = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool pixelDark = qGray(image.pixel(x, y)) < 128;
        if (runs.empty() && !pixelDark)
            continue;
        if (runs.empty() || pixelDark != dark)
            runs.push_back(0);
        dark = pixelDark;
        ++runs.back();
    }
    static const char* const patterns[10] = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                             "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};
    for (size_t start = 0; start + 7 < runs.size(); start += 2) {
        const int narrow = runs[start];
        auto kind = [&](size_t i) { return runs[i] * 4 < narrow * 7 ? 'n' : 'w'; };
        if (kind(start + 1) != 'n' || kind(start + 2) != 'n' || kind(start + 3) != 'n')
            continue;
        std::string digits;
        size_t i = start + 4;
        while (i + 10 <= runs.size()) {
            std::string bars, spaces;
            for (int k = 0; k < 5; ++k) {
                bars += kind(i + 2 * k);
                spaces += kind(i + 2 * k + 1);
            }
            int first = -1, second = -1;
            for (int d = 0; d < 10; ++d) {
                if (bars == patterns[d])
                    first = d;
                if (spaces == patterns[d])
                    second = d;
            }
            if (first < 0 || second < 0)
                break;
            digits += char('0' + first);
            digits += char('0' + second);
            i += 10;
        }
        if (!digits.empty() && i + 2 < runs.size() && kind(i) == 'w' && kind(i + 1) == 'n' && kind(i + 2) == 'n')
            return digits;
    }
    return {};
}

}  // namespace

TEST(TicketPlugin, sampleDescribesItselfFillsTheNotesAndAppendsItsCompanies)
{
    QtKobuRes library;
    PlgInfo info;
    ASSERT_NE(library.KBU_GetPlgInfo(kSample, info), 0);
    EXPECT_GE(info.PreviewWidth, 1);
    EXPECT_LE(info.PreviewWidth, 2000);
    EXPECT_GE(info.PreviewHeight, 1);
    EXPECT_LE(info.PreviewHeight, 2000);
    // The sample exercises every line of the property list: all flags set, barcode included.
    for (int32_t flag : {info.CanPrintDate, info.CanPrintTime, info.CanPrintRouteNo, info.CanPrintStopName,
                         info.CanPrintBarcode})
        EXPECT_EQ(flag, 1);
    EXPECT_GT(info.BarcodeCount, 0);
    EXPECT_GE(info.MaxRouteNo, 1);
    EXPECT_LE(info.StopRangeFrom, info.StopRangeTo);
    EXPECT_GE(info.CorpSwitch, 1);

    QPlainTextEdit notes;
    library.KBU_SetPlgComment(kSample, &notes);
    EXPECT_TRUE(notes.toPlainText().contains(QStringLiteral("ITF")));
    EXPECT_TRUE(notes.toPlainText().contains(QLatin1Char('\n')));

    // The library appends; clearing the list first is the caller's business.
    QComboBox companies;
    companies.addItem(QStringLiteral("既存"));
    library.KBU_SetCorpAddList(kSample, &companies);
    ASSERT_GE(companies.count(), 3);
    EXPECT_EQ(companies.itemText(0), QStringLiteral("既存"));
    EXPECT_EQ(companies.itemText(1), QStringLiteral("ふぁれぼ交通"));
    for (int i = 1; i < companies.count(); ++i)
        EXPECT_FALSE(companies.itemText(i).isEmpty());

    EXPECT_FALSE(mappedIntoProcess(kSample)) << "every operation unloads the plug-in again";
}

TEST(TicketPlugin, fieldsLandInTheRecordInOrderAndLengthsAreNotTrusted)
{
    const QString liar = testPlugin(PLUGIN_LIAR_PATH);
    QtKobuRes library;
    PlgInfo info;
    ASSERT_NE(library.KBU_GetPlgInfo(liar, info), 0) << "1 and 2000 pixels are both acceptable sides";
    EXPECT_EQ(info.Reserved0, 77);
    EXPECT_EQ(info.PreviewWidth, 2000);
    EXPECT_EQ(info.PreviewHeight, 1);
    EXPECT_EQ(info.CanPrintDate, 2);
    EXPECT_EQ(info.CanPrintTime, 1);
    EXPECT_EQ(info.CanPrintRouteNo, 0);
    EXPECT_EQ(info.CanPrintStopName, -1);
    EXPECT_EQ(info.CanPrintBarcode, 1);
    EXPECT_EQ(info.BarcodeCount, 13);
    EXPECT_EQ(info.MaxRouteNo, 640);
    EXPECT_EQ(info.BarcodeRouteMode, 3);
    EXPECT_EQ(info.StopRangeFrom, 5);
    EXPECT_EQ(info.StopRangeTo, 95);
    EXPECT_EQ(info.CorpSwitch, 5);

    // Notes claimed 2 GB long and never ended with a NUL: shortened, not overrun.
    QPlainTextEdit notes;
    library.KBU_SetPlgComment(liar, &notes);
    EXPECT_EQ(notes.toPlainText(), QString(64 * 1024, QLatin1Char('x')));

    // Three hundred names with CR LF: the line ends go, the list stops at 256.
    QComboBox companies;
    library.KBU_SetCorpAddList(liar, &companies);
    ASSERT_EQ(companies.count(), 256);
    EXPECT_EQ(companies.itemText(0), QStringLiteral("桜交通"));
    EXPECT_EQ(companies.itemText(255), QStringLiteral("桜交通"));

    // A plug-in that declines leaves the preview as it was, whatever it scribbled meanwhile.
    QImage surface = whiteSurface(80, 40);
    library.KBU_DrawSeiriken(liar, surface, QStringLiteral("駅前"), QStringLiteral("05-14-2025"),
                             QStringLiteral("10:00:00"), 1, 1, 1, -1);
    EXPECT_EQ(nonWhitePixels(surface), 0);
}

TEST(TicketPlugin, filesThatAreNotUsablePluginsAreRejectedAndLeaveEveryTargetAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString textFile = dir.filePath(QStringLiteral("readme.4SP"));
    {
        QFile file(textFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("This is not a ticket plug-in.\n");
    }
    // The host's loader would also try "<name>.so" and "lib<name>.so" for a name it cannot
    // load; a usable plug-in there must not stand in for the file the user chose.
    const QString missing = dir.filePath(QStringLiteral("missing.4SP"));
    ASSERT_TRUE(QFile::copy(kSample, missing + QStringLiteral(".so")));
    ASSERT_TRUE(QFile::copy(kSample, textFile + QStringLiteral(".so")));

    struct Case {
        QString path;
        TicketPluginError why;
    };
    const std::vector<Case> cases = {
        {QString(), TicketPluginError::EmptyPath},
        {missing, TicketPluginError::NotAFile},
        {dir.path(), TicketPluginError::NotAFile},
        {textFile, TicketPluginError::NotALibrary},
        {testPlugin(PLUGIN_WITHOUT_DRAW_PATH), TicketPluginError::MissingFunction},
        {testPlugin(PLUGIN_ABI_2_PATH), TicketPluginError::UnknownAbiVersion},
        {testPlugin(PLUGIN_REFUSING_INFO_PATH), TicketPluginError::InfoRefused},
        {testPlugin(PLUGIN_WIDTH_0_PATH), TicketPluginError::InvalidPreviewSize},
        {testPlugin(PLUGIN_HEIGHT_5000_PATH), TicketPluginError::InvalidPreviewSize},
    };
    QtKobuRes library;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        TicketPluginError why = TicketPluginError::None;
        EXPECT_EQ(TicketPlugin::open(c.path, &why), nullptr);
        EXPECT_EQ(why, c.why);

        PlgInfo info;
        EXPECT_EQ(library.KBU_GetPlgInfo(c.path, info), 0);
        EXPECT_EQ(info.PreviewWidth, 0);
        EXPECT_EQ(info.CorpSwitch, 0);

        QPlainTextEdit notes;
        notes.setPlainText(QStringLiteral("前のまま"));
        library.KBU_SetPlgComment(c.path, &notes);
        EXPECT_EQ(notes.toPlainText(), QStringLiteral("前のまま"));

        QComboBox companies;
        library.KBU_SetCorpAddList(c.path, &companies);
        EXPECT_EQ(companies.count(), 0);

        QImage surface = whiteSurface(300, 150);
        library.KBU_DrawSeiriken(c.path, surface, QStringLiteral("駅前"), QStringLiteral("05-14-2025"),
                                 QStringLiteral("10:00:00"), 12, 3, 3, 0);
        EXPECT_EQ(nonWhitePixels(surface), 0);

        if (!c.path.isEmpty() && QFileInfo(c.path).isFile()) {
            EXPECT_FALSE(mappedIntoProcess(c.path)) << "a rejected file is unloaded at once";
        }
    }
}

TEST(TicketPlugin, sampleDrawsTheTicketOfEachStopWithAReadableBarcode)
{
    QtKobuRes library;
    PlgInfo info;
    ASSERT_NE(library.KBU_GetPlgInfo(kSample, info), 0);

    QImage first = whiteSurface(info.PreviewWidth, info.PreviewHeight);
    library.KBU_DrawSeiriken(kSample, first, QStringLiteral("市役所前"), QStringLiteral("05-14-2025"),
                             QStringLiteral("14:05:33"), 12, 3, 3, 0);
    EXPECT_GT(nonWhitePixels(first), info.PreviewWidth * info.PreviewHeight / 4);

    // Route 12, ticket 3: 0012 and 003, then the mod-10 check digit (3·3 + 2 + 3·1 = 14 → 6).
    std::string code;
    for (int y = 0; y < first.height() && code.empty(); ++y)
        code = readItf(first, y);
    EXPECT_EQ(code, "00120036");

    QImage next = whiteSurface(info.PreviewWidth, info.PreviewHeight);
    library.KBU_DrawSeiriken(kSample, next, QStringLiteral("中央病院"), QStringLiteral("05-14-2025"),
                             QStringLiteral("14:05:33"), 12, 4, 4, 0);
    EXPECT_NE(next, first) << "the next stop prints another ticket";

    // The preview may still have its first size; the ticket then fits into it.
    QImage small = whiteSurface(220, 93);
    library.KBU_DrawSeiriken(kSample, small, QStringLiteral("市役所前"), QStringLiteral("2025/05/14"),
                             QStringLiteral("14:05:33"), 12, 3, 3, -1);
    EXPECT_GT(nonWhitePixels(small), 220 * 93 / 8);
    EXPECT_EQ(small.pixel(219, 92), qRgb(255, 255, 255)) << "nothing is drawn past the scaled ticket";
}

TEST(TicketPlugin, emptyPathDrawsNothing)
{
    QtKobuRes library;
    QImage surface(120, 60, QImage::Format_ARGB32);
    surface.fill(qRgb(10, 200, 30));
    const QImage before = surface.copy();
    library.KBU_DrawSeiriken(QString(), surface, QStringLiteral("駅前"), QStringLiteral("05-14-2025"),
                             QStringLiteral("10:00:00"), 12, 3, 3, 0);
    EXPECT_EQ(surface, before);
}

TEST(TicketPlugin, companyTextSplitsIntoLines)
{
    EXPECT_EQ(companyNamesFromText(QStringLiteral("A\nB\r\nC\n"), 10), QStringList({"A", "B", "C"}));
    // An empty line inside keeps its place: the index the plug-in later receives counts it.
    EXPECT_EQ(companyNamesFromText(QStringLiteral("A\n\nC"), 10), QStringList({"A", "", "C"}));
    EXPECT_TRUE(companyNamesFromText(QString(), 10).isEmpty());
    EXPECT_EQ(companyNamesFromText(QStringLiteral("A\nB\nC"), 2), QStringList({"A", "B"}));
}

namespace {

struct Faults {
    QStringList paths;
    void attach(QtKobuRes& library)
    {
        library.setPluginFaultHandler([this](const QString& path, const QString&) { paths << path; });
    }
};

void drawOnce(QtKobuRes& library, const QString& path, QImage& surface)
{
    library.KBU_DrawSeiriken(path, surface, QStringLiteral("駅前"), QStringLiteral("05-14-2025"),
                             QStringLiteral("10:00:00"), 12, 3, 3, 0);
}

}  // namespace

TEST(TicketPlugin, crashingPluginLeavesThePreviewBlankAndIsToldOnce)
{
    const QString crashing = testPlugin(PLUGIN_CRASHING_IN_DRAW_PATH);
    QtKobuRes library;
    Faults faults;
    faults.attach(library);
    PlgInfo info;
    ASSERT_NE(library.KBU_GetPlgInfo(crashing, info), 0) << "it only crashes when it draws";

    for (int update = 0; update < 3; ++update) {
        QImage surface = whiteSurface(120, 60);
        drawOnce(library, crashing, surface);
        EXPECT_EQ(nonWhitePixels(surface), 0);
    }
    EXPECT_EQ(faults.paths, QStringList{crashing});
    // Refused from now on, like a file that is no plug-in.
    EXPECT_EQ(library.KBU_GetPlgInfo(crashing, info), 0);

    // The program goes on: another plug-in still draws, in a fresh helper.
    QImage ticket = whiteSurface(300, 156);
    drawOnce(library, kSample, ticket);
    EXPECT_GT(nonWhitePixels(ticket), 300 * 156 / 4);
    EXPECT_EQ(faults.paths, QStringList{crashing});
}

TEST(TicketPlugin, pluginStuckInALoopIsStoppedAndRefused)
{
    const QString looping = testPlugin(PLUGIN_LOOPING_IN_INFO_PATH);
    QtKobuRes library;
    Faults faults;
    faults.attach(library);
    PlgInfo info;
    EXPECT_EQ(library.KBU_GetPlgInfo(looping, info), 0);
    EXPECT_EQ(info.PreviewWidth, 0);
    // The second call does not wait again.
    QElapsedTimer second;
    second.start();
    EXPECT_EQ(library.KBU_GetPlgInfo(looping, info), 0);
    EXPECT_LT(second.elapsed(), 1000);
    EXPECT_EQ(faults.paths, QStringList{looping});

    QImage ticket = whiteSurface(300, 156);
    drawOnce(library, kSample, ticket);
    EXPECT_GT(nonWhitePixels(ticket), 300 * 156 / 4);
}

TEST(TicketPlugin, helperStartsAtTheFirstCallAndServesTheNext)
{
    TicketHelper helper(TicketHelper::besideProgram());
    EXPECT_FALSE(helper.running());
    TicketHelper::Fault fault = TicketHelper::Fault::None;
    for (int call = 0; call < 2; ++call) {
        const auto reply = helper.run({TicketOp::Info, kSample, {}, {}}, fault);
        ASSERT_TRUE(reply);
        EXPECT_TRUE(reply->accepted);
        EXPECT_GT(reply->info.PreviewWidth, 0);
        EXPECT_TRUE(helper.running());
    }
    TicketHelper missing(QStringLiteral("/nonexistent/fareboard-ticket"));
    EXPECT_FALSE(missing.run({TicketOp::Info, kSample, {}, {}}, fault));
    EXPECT_EQ(fault, TicketHelper::Fault::NotStarted);
}

TEST(TicketPlugin, rebuiltPluginFileIsLoadedAnewAtTheNextCall)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mine.4SP"));
    ASSERT_TRUE(QFile::copy(testPlugin(PLUGIN_REFUSING_INFO_PATH), path));
    QtKobuRes library;
    PlgInfo info;
    EXPECT_EQ(library.KBU_GetPlgInfo(path, info), 0);

    // The developer fixes the plug-in and builds it over the same file.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::copy(testPlugin(PLUGIN_LIAR_PATH), path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(5), QFileDevice::FileModificationTime));
    file.close();
    ASSERT_NE(library.KBU_GetPlgInfo(path, info), 0);
    EXPECT_EQ(info.PreviewWidth, 2000);
}
