#pragma once
// Files whose names are given as bytes: names that are not UTF-8 cannot pass through QString
// unchanged, so tests of such names write them with the C library.
#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>

// Writes content to the file named by the bytes of name; false when it cannot be written.
inline bool WriteByteNamedFile(const QByteArray& name, const QByteArray& content) {
    FILE* f = std::fopen(name.constData(), "wb");
    if (!f)
        return false;
    const bool written = std::fwrite(content.constData(), 1, static_cast<size_t>(content.size()), f) ==
                         static_cast<size_t>(content.size());
    return std::fclose(f) == 0 && written;
}

// The content of a file named by text (a shipped media sample, say); empty when unreadable.
inline QByteArray FileContent(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the first count bytes of the file at source to target (a cut-off copy of a sample);
// false when either cannot be used.
inline bool WriteCutCopy(const QString& source, const QString& target, qint64 count) {
    const QByteArray content = FileContent(source);
    return !content.isEmpty() && WriteByteNamedFile(QFile::encodeName(target), content.left(count));
}
