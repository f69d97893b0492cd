#pragma once
// What tests read of other processes from /proc: their state, parent and group, and a child of
// a process (the engine a converter started, the FFmpeg an engine started).
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>

struct TProcStat {
    bool exists = false;
    char state = '?';
    qint64 parent = 0;
    qint64 group = 0;
};

// /proc/<pid>/stat: "pid (comm) state ppid pgrp ..."; comm may hold blanks, so read after the last ')'.
inline TProcStat ReadProcStat(qint64 pid) {
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    TProcStat stat;
    if (!file.open(QIODevice::ReadOnly))
        return stat;
    const QByteArray text = file.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 3)
        return stat;
    stat.exists = true;
    stat.state = fields[0].isEmpty() ? '?' : fields[0][0];
    stat.parent = fields[1].toLongLong();
    stat.group = fields[2].toLongLong();
    return stat;
}

// Whether the process exists and has not ended (an ended one waiting to be reaped has).
inline bool ProcessRunning(qint64 pid) {
    const TProcStat stat = ReadProcStat(pid);
    return stat.exists && stat.state != 'Z' && stat.state != 'X';
}

// The running children of parent.
inline QList<qint64> ChildProcesses(qint64 parent) {
    QList<qint64> children;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number && ReadProcStat(pid).parent == parent && ProcessRunning(pid))
            children << pid;
    }
    return children;
}

// A running child of parent (the first found); 0 when it has none.
inline qint64 FindChildProcess(qint64 parent) {
    return ChildProcesses(parent).value(0);
}
