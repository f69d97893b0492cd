// The shipped help pages: one per language, UTF-8, with the same sections as the English page,
// links that lead somewhere, and every option of varid-convert explained.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSize>
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

// The size a PNG file states in its header; empty when the file is no PNG.
QSize pngSize(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(24);
    if (head.size() < 24 || !head.startsWith("\x89PNG\r\n\x1a\n") || head.mid(12, 4) != "IHDR")
        return {};
    const auto at = [&](int offset) {
        int value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | static_cast<unsigned char>(head[offset + i]);
        return value;
    };
    return {at(16), at(20)};
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

// A retaken screenshot changes its size: the page must state the new one, or the browser shows
// the window squeezed or stretched.
TEST(ShippedHelpTest, EveryPictureIsShownAtItsOwnSize) {
    const QRegularExpression image(
        QStringLiteral("<img src=\"([^\"]+)\" width=\"(\\d+)\" height=\"(\\d+)\""));
    for (const char* name : Languages) {
        SCOPED_TRACE(name);
        const QString page = readPage(QString::fromLatin1(name));
        int pictures = 0;
        for (auto it = image.globalMatch(page); it.hasNext(); ++pictures) {
            const QRegularExpressionMatch m = it.next();
            const QSize size = pngSize(LangsFolder + m.captured(1));
            EXPECT_EQ(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()).toStdString(),
                      (m.captured(2) + QLatin1Char('x') + m.captured(3)).toStdString())
                << m.captured(1).toStdString();
        }
        EXPECT_EQ(pictures, page.count(QStringLiteral("<img ")));
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
