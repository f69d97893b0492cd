#include "sources/source_filters.h"

#include "lang/strings.h"

#include <algorithm>

QString ExtractFileExt(const QString& path) {
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

bool IsAcceptedExtension(const QString& ext, const QStringList& inputFilters) {
    if (ext.isEmpty())
        return false;
    const QString lower = ext.toLower();
    return std::any_of(inputFilters.begin(), inputFilters.end(), [&](const QString& line) {
        return line.mid(line.indexOf(QLatin1Char('=')) + 1).toLower().contains(lower);
    });
}

QString BuildOpenFilter(const QStringList& inputFilters) {
    QStringList entries;
    for (const QString& line : inputFilters) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        const QString patterns =
            line.mid(eq + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        entries << QStringLiteral("%1 (%2)").arg(eq < 0 ? patterns : line.left(eq), patterns);
    }
    entries << Str(Ids::IDS_FILEINFORMATION_LABEL_AllFile) + QStringLiteral(" (*)");
    return entries.join(QStringLiteral(";;"));
}
