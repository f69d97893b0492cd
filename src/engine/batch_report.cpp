#include "engine/batch_report.h"

#include "app/byte_names.h"
#include "app/utils.h"
#include "lang/strings.h"

QList<TNotConverted> TBatchReport::Failed() const {
    QList<TNotConverted> failed;
    for (const TNotConverted& file : notConverted)
        if (file.kind == TNotConverted::Kind::Failed)
            failed << file;
    return failed;
}

QString ReportDetails(const QList<TNotConverted>& files) {
    QStringList text;
    for (const TNotConverted& file : files) {
        text << ByteNames().Display(file.source);
        for (const QString& line : file.lines)
            text << QStringLiteral("    ") + line;
    }
    return text.join(QLatin1Char('\n'));
}

QStringList ReportSummary(int total, const QList<TNotConverted>& files) {
    QStringList lines;
    lines << FormatStr(Str(Ids::IDS_CLI_FilesConverted),
                       {QString::number(total - files.size()), QString::number(total)});
    if (files.isEmpty())
        return lines;
    lines << Str(Ids::IDS_CLI_NotConverted);
    for (const TNotConverted& file : files)
        lines << QStringLiteral("  %1: %2").arg(ByteNames().Display(file.source), file.reason);
    return lines;
}
