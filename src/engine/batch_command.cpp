#include "engine/batch_command.h"

#include "app/errors.h"
#include "app/paths.h"
#include "app/utils.h"
#include "engine/cmdline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString EngineOutputPath(const QString& outputFolder, const QString& source, const QString& outputExtension) {
    QString folder = TrimControls(outputFolder);
    // Relative to the folder of the user's files: the program folder when portable, never the
    // read-only folder of an installed program.
    if (QDir::isRelativePath(folder))
        folder = UserDir + folder;
    return AddTrailingBackslash(folder) + QFileInfo(source).completeBaseName() + outputExtension;
}

QString PatchEngineOptions(const QString& optionsText) {
    // The patches look for options with a blank on both sides; the options text follows a blank
    // on the command line.
    QString line = QLatin1Char(' ') + optionsText;
    if (line.contains(QStringLiteral(" -ac 5:1 ")) && !line.contains(QStringLiteral(" -ab "))) {
        const qsizetype at = line.indexOf(QStringLiteral(" -ac "));
        line.replace(at, 5, QStringLiteral(" -ab 256 -ac "));
    }
    const QString huff = QStringLiteral(" -vcodec ffvhuff ");
    const qsizetype at = line.indexOf(huff);
    if (at >= 0)
        line.replace(at, huff.size(), QStringLiteral(" -vcodec ffvhuff -strict -2 "));
    return line.mid(1);
}

QString EngineCommandLine(const QString& enginePath, const QString& input, const QString& optionsText,
                          const QString& output) {
    const bool quoteEngine = enginePath.contains(QLatin1Char(' ')) || enginePath.contains(QLatin1Char('"'));
    return (quoteEngine ? QuoteArgument(enginePath) : enginePath) + QStringLiteral(" -p ") +
           EngineAccessCode + QStringLiteral(" -i ") + QuoteArgument(input) + QLatin1Char(' ') + optionsText +
           QLatin1Char(' ') + QuoteArgument(output);
}

bool UsesAvsScript(const QString& source, bool useDirectShow, const QStringList& avsExtensions) {
    if (useDirectShow)
        return true;
    const QString name = QFileInfo(source).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    return avsExtensions.contains(name.mid(dot), Qt::CaseSensitive);
}

QString AvsScriptFileName() {
    return LangsDir + QStringLiteral("DirectShow.avs");
}

QString AvsTemplateFileName() {
    // The user's copy of the template; the shipped one when the user has none.
    const QString name = QStringLiteral("English_Profile/DirectShow.avs");
    return QFileInfo::exists(LangsDir + name) ? LangsDir + name : ShippedLangsDir + name;
}

void WriteAvsScript(const QString& source) {
    QFile templ(AvsTemplateFileName());
    if (!templ.open(QIODevice::ReadOnly | QIODevice::Text))
        throw EVaridError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(templ.fileName(), templ.errorString()));
    QStringList lines = QString::fromUtf8(templ.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    QByteArray text;
    for (QString& line : lines) {
        line.replace(QStringLiteral("<%InputFile%>"), source, Qt::CaseInsensitive);
        text += line.toUtf8() + "\r\n";
    }
    QSaveFile script(AvsScriptFileName());
    if (!script.open(QIODevice::WriteOnly) || script.write(text) != text.size() || !script.commit())
        throw EVaridError(QStringLiteral("Unable to write to %1").arg(AvsScriptFileName()));
}

void DeleteAvsScript() {
    QFile::remove(AvsScriptFileName());
}
