#include "engine/progress_view.h"

#include "app/utils.h"
#include "lang/strings.h"

#include <QStringList>

QString SourcesNote(int trashed, int deleted, int notRemoved) {
    QStringList lines;
    if (trashed > 0)
        lines << FormatStr(Str(Ids::IDS_BATCH_SourcesTrashed), {QString::number(trashed)});
    if (deleted > 0)
        lines << FormatStr(Str(Ids::IDS_BATCH_SourcesDeleted), {QString::number(deleted)});
    if (notRemoved > 0)
        lines << FormatStr(Str(Ids::IDS_BATCH_SourcesNotRemoved), {QString::number(notRemoved)});
    return lines.join(QLatin1Char('\n'));
}

QString DurationText(int64_t ms) {
    if (ms < 0)
        ms = 0;
    const int64_t seconds = ms / 1000;
    // A batch may run for more than a day: the hours go on counting.
    const int64_t hours = seconds / 3600;
    return QStringLiteral("%1:%2:%3")
        .arg(hours)
        .arg((seconds / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
