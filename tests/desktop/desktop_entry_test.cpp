// The desktop entry and the AppStream metainfo that the package installs.
#include "app/inifile.h"
#include "lang/multilanguages.h"

#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

const QString Packaging = QStringLiteral(VARID_SOURCE_DIR "/packaging/");
const QString DesktopFile = Packaging + QStringLiteral("org.varid.VideoConverter.desktop");
const QString MetainfoFile = Packaging + QStringLiteral("org.varid.VideoConverter.metainfo.xml");

QString desktopValue(const QString& key) {
    return TIniFile(DesktopFile).ReadString(QStringLiteral("Desktop Entry"), key, QString());
}

// Runs a validator; its output when it fails.
QString validate(const QString& program, const QStringList& arguments) {
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return program + QStringLiteral(" is not installed (scripts/setup installs it)");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(path, arguments);
    if (!p.waitForFinished(60000))
        return program + QStringLiteral(" did not finish");
    const QString output = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 ? QString() : output;
}

} // namespace

TEST(DesktopEntry, ValidatorsAcceptEntryAndMetainfo) {
    EXPECT_EQ(validate(QStringLiteral("desktop-file-validate"), {DesktopFile}), QString());
    EXPECT_EQ(validate(QStringLiteral("appstreamcli"),
                       {QStringLiteral("validate"), QStringLiteral("--no-net"), MetainfoFile}),
              QString());
}

TEST(DesktopEntry, OpensTheFilesItIsGivenAsAudioVideoProgram) {
    EXPECT_EQ(desktopValue(QStringLiteral("Exec")), QStringLiteral("varid-converter %F"));
    EXPECT_EQ(desktopValue(QStringLiteral("Icon")), QStringLiteral("org.varid.VideoConverter"));
    const QStringList categories = desktopValue(QStringLiteral("Categories")).split(QLatin1Char(';'));
    for (const char* c : {"AudioVideo", "Audio", "Video"})
        EXPECT_TRUE(categories.contains(QLatin1String(c))) << c;
    QFile metainfo(MetainfoFile);
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    EXPECT_TRUE(metainfo.readAll().contains(
        "<launchable type=\"desktop-id\">org.varid.VideoConverter.desktop</launchable>"));
}

// Every audio or video type of an extension in the shipped filter list is offered to the file
// manager, and nothing else is: the entry and the filter list cannot drift apart.
TEST(DesktopEntry, MimeTypesAreThoseOfTheShippedFilterList) {
    const QSet<QString> listed = [] {
        QStringList types =
            desktopValue(QStringLiteral("MimeType")).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        return QSet<QString>(types.begin(), types.end());
    }();
    const QMimeDatabase db;
    QSet<QString> expected;
    const TIniFile english(QStringLiteral(VARID_SOURCE_DIR "/langs/English.ini"));
    const auto filters = english.ReadSectionValues(FiltersSection);
    ASSERT_FALSE(filters.isEmpty());
    for (const auto& [name, patterns] : filters) {
        for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QList<QMimeType> types = db.mimeTypesForFileName(QStringLiteral("x") + pattern.mid(1));
            QStringList media;
            for (const QMimeType& t : types) {
                if (t.name().startsWith(QStringLiteral("audio/")) ||
                    t.name().startsWith(QStringLiteral("video/")))
                    media << t.name();
            }
            // Real media and Flash have types outside audio/ and video/.
            if (media.isEmpty() && !types.isEmpty() &&
                !types.first().name().startsWith(QStringLiteral("text/")))
                media << types.first().name();
            // Extensions the MIME database has no type for (*.y4m) cannot be associated.
            for (const QString& t : media)
                expected.insert(t);
        }
    }
    QStringList missing, extra;
    for (const QString& t : expected)
        if (!listed.contains(t))
            missing << t;
    for (const QString& t : listed)
        if (!expected.contains(t))
            extra << t;
    missing.sort();
    extra.sort();
    EXPECT_EQ(missing, QStringList()) << "types of the filter list missing in the desktop entry";
    EXPECT_EQ(extra, QStringList()) << "types in the desktop entry that no filter accepts";
}
