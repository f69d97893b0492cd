#include "engine/batch_command.h"

#include "app/errors.h"
#include "app/paths.h"
#include "app/unique_fd.h"
#include "app/utils.h"
#include "engine/cmdline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

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

namespace {

const QString AvsScriptPrefix = QStringLiteral("DirectShow-");
const QString AvsScriptSuffix = QStringLiteral(".avs");

} // namespace

QString NewAvsScriptFileName() {
    static std::atomic<quint64> serial{0};
    return LangsDir + AvsScriptPrefix + QString::number(::getpid()) + QLatin1Char('-') +
           QString::number(++serial) + AvsScriptSuffix;
}

QString AvsTemplateFileName() {
    // The user's copy of the template; the shipped one when the user has none.
    const QString name = QStringLiteral("English_Profile/DirectShow.avs");
    return QFileInfo::exists(LangsDir + name) ? LangsDir + name : ShippedLangsDir + name;
}

void WriteAvsScript(const QString& source, const QString& scriptName) {
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
    // The name holds this process's number: anything already there is left over or planted.
    const QByteArray name = QFile::encodeName(scriptName);
    ::unlink(name.constData());
    TUniqueFd fd(::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644));
    qint64 written = 0;
    while (fd.valid() && written < text.size()) {
        const ssize_t n =
            ::write(fd.get(), text.constData() + written, static_cast<size_t>(text.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    const bool closed = fd.valid() && ::close(fd.release()) == 0;
    if (!closed || written != text.size()) {
        ::unlink(name.constData());
        throw EVaridError(QStringLiteral("Unable to write to %1").arg(scriptName));
    }
}

void DeleteAvsScript(const QString& scriptName) {
    if (!scriptName.isEmpty())
        QFile::remove(scriptName);
}

void DeleteStaleAvsScripts() {
    const QDir langs(LangsDir);
    for (const QString& name : langs.entryList({AvsScriptPrefix + QLatin1Char('*') + AvsScriptSuffix},
                                               QDir::Files | QDir::System)) {
        const QString middle =
            name.mid(AvsScriptPrefix.size(), name.size() - AvsScriptPrefix.size() - AvsScriptSuffix.size());
        bool ok = false;
        const pid_t pid = static_cast<pid_t>(middle.section(QLatin1Char('-'), 0, 0).toInt(&ok));
        // Only the scripts of processes that no longer exist: a running batch keeps its own.
        if (ok && pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            QFile::remove(langs.filePath(name));
    }
}
