// The shipped help pages: one per language, UTF-8, with the same sections as the English page,
// links that lead somewhere, and every option of varid-convert explained.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <gtest/gtest.h>

namespace {

const char* const Languages[] = {"English", "German", "French", "Spanish"};

const QString LangsFolder = QStringLiteral(VARID_SOURCE_DIR "/langs/");

QString readPage(const QString& language) {
    QFile file(LangsFolder + language + QStringLiteral("_help.html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(file.readAll());
    return utf8.hasError() ? QString() : text;
}

QSet<QString> captures(const QString& text, const QString& pattern) {
    QSet<QString> found;
    for (auto it = QRegularExpression(pattern).globalMatch(text); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

QSet<QString> sectionIds(const QString& page) {
    return captures(page, QStringLiteral("\\bid=\"([^\"]+)\""));
}

} // namespace

TEST(ShippedHelpTest, EveryPageIsUtf8WithTheEnglishSectionsAndWorkingLinks) {
    const QSet<QString> englishSections = sectionIds(readPage(QStringLiteral("English")));
    ASSERT_GE(englishSections.size(), 9);
    for (const char* name : Languages) {
        const QString language = QString::fromLatin1(name);
        SCOPED_TRACE(name);
        const QString page = readPage(language);
        ASSERT_FALSE(page.isEmpty()) << "missing, empty or not UTF-8";
        EXPECT_TRUE(page.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        EXPECT_EQ(sectionIds(page), englishSections);
        for (const QString& anchor : captures(page, QStringLiteral("href=\"#([^\"]*)\"")))
            EXPECT_TRUE(englishSections.contains(anchor)) << anchor.toStdString();
        // Images and other local files a page refers to are shipped beside it.
        for (const QString& target : captures(page, QStringLiteral("(?:src|href)=\"([^\"#:]+)\"")))
            EXPECT_TRUE(QFileInfo::exists(LangsFolder + target)) << target.toStdString();
    }
}

TEST(ShippedHelpTest, EveryPageExplainsEveryOptionOfTheCommandLineConverter) {
    QProcess cli;
    cli.start(QStringLiteral(VARID_BIN_DIR "/varid-convert"), {QStringLiteral("--help")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QString usage = QString::fromUtf8(cli.readAllStandardOutput());
    // The options are the words that begin a line of the usage text with "--".
    const QSet<QString> options = captures(usage, QStringLiteral("(?m)^\\s+(--[a-z-]*)"));
    ASSERT_GE(options.size(), 10) << usage.toStdString();
    for (const char* name : Languages) {
        SCOPED_TRACE(name);
        const QString page = readPage(QString::fromLatin1(name));
        for (const QString& option : options)
            EXPECT_TRUE(page.contains(QStringLiteral("<code>") + option)) << option.toStdString();
    }
}
