#include "media/fileitem.h"

TFileItem NewFileItem(const QString& path) {
    TFileItem item;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    item.FilePath = path.left(slash + 1);
    item.FileName = path.mid(slash + 1);
    return item;
}

qint64 FileSizeBytes(const TFileItem& item) {
    bool ok = false;
    const qint64 size = item.FileSize.toLongLong(&ok);
    return ok ? size : 0;
}
