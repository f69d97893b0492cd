#include "sources/parallel_probe.h"

#include "media/mediainfo.h"
#include "media/probe.h"
#include "sources/source_filters.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// Fewer files than this are probed in this process: a child costs more than it saves.
constexpr int kMinFilesForChildren = 16;

// The record fields after the index and the result, in this order.
constexpr std::array<QString TFileItem::*, 18> kRecordFields = {
    &TFileItem::FileName,    &TFileItem::FilePath,     &TFileItem::CompleteName, &TFileItem::FileSize,
    &TFileItem::Format,      &TFileItem::PlayTime,     &TFileItem::AudioCount,   &TFileItem::VideoCount,
    &TFileItem::VideoCodec,  &TFileItem::Width,        &TFileItem::Height,       &TFileItem::VideoBitrate,
    &TFileItem::AspectRatio, &TFileItem::FrameRate,    &TFileItem::AudioCodec,   &TFileItem::AudioBitrate,
    &TFileItem::Channels,    &TFileItem::SamplingRate,
};

void AppendInt(QByteArray& out, qint32 value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

bool TakeInt(const QByteArray& in, qsizetype& at, qint32& value) {
    if (in.size() - at < qsizetype(sizeof value))
        return false;
    std::memcpy(&value, in.constData() + at, sizeof value);
    at += sizeof value;
    return true;
}

// One outcome as bytes: index, result, then each field as a length and its UTF-8 bytes.
QByteArray EncodeRecord(int index, const TProbeOutcome& outcome) {
    QByteArray record;
    AppendInt(record, index);
    AppendInt(record, static_cast<qint32>(outcome.result));
    for (QString TFileItem::*field : kRecordFields) {
        const QByteArray text = (outcome.item.*field).toUtf8();
        AppendInt(record, static_cast<qint32>(text.size()));
        record += text;
    }
    return record;
}

// Reads a whole record from the front of buffer; false when it is not all there yet.
bool DecodeRecord(QByteArray& buffer, int& index, TProbeOutcome& outcome) {
    qsizetype at = 0;
    qint32 value = 0;
    if (!TakeInt(buffer, at, value))
        return false;
    index = value;
    if (!TakeInt(buffer, at, value))
        return false;
    outcome.result = static_cast<TAddResult>(value);
    for (QString TFileItem::*field : kRecordFields) {
        qint32 length = 0;
        if (!TakeInt(buffer, at, length) || length < 0 || buffer.size() - at < length)
            return false;
        outcome.item.*field = QString::fromUtf8(buffer.constData() + at, length);
        at += length;
    }
    buffer.remove(0, at);
    return true;
}

bool WriteAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

TParallelProbe::TParallelProbe(QStringList paths, std::vector<bool> wanted, QStringList filters,
                               QString noneText)
    : m_paths(std::move(paths)), m_wanted(std::move(wanted)), m_filters(std::move(filters)),
      m_none(std::move(noneText)) {
    const int count = static_cast<int>(std::count(m_wanted.begin(), m_wanted.end(), true));
    if (count < kMinFilesForChildren)
        return;
    TMediaInfo::Load();
    const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    m_workers.resize(static_cast<size_t>(std::min(cores, 8)));
    for (size_t k = 0; k < m_workers.size(); ++k)
        start(m_workers[k], static_cast<int>(k));
}

TParallelProbe::~TParallelProbe() {
    for (TWorker& worker : m_workers)
        stop(worker);
}

TProbeOutcome TParallelProbe::ProbeOne(const QString& path, const QStringList& filters,
                                       const QString& noneText) {
    const QFileInfo info(path);
    if (!info.exists())
        return {TAddResult::NotFound, {}};
    if (!info.isFile())
        return {TAddResult::NotRegularFile, {}};
    if (!IsAcceptedExtension(ExtractFileExt(path), filters))
        return {TAddResult::NotAccepted, {}};
    TFileItem item = NewFileItem(path);
    ProbeFile(path, item, noneText);
    if (!IsDescribed(item, noneText))
        return {TAddResult::NotMedia, {}};
    return {TAddResult::Added, std::move(item)};
}

TProbeOutcome TParallelProbe::Take(int index) {
    const auto i = static_cast<size_t>(index);
    if (!m_wanted[i])
        return {TAddResult::NotFound, {}};
    if (m_workers.empty())
        return ProbeOne(m_paths.at(index), m_filters, m_none);
    TWorker& worker = m_workers[i % m_workers.size()];
    for (;;) {
        TProbeOutcome outcome;
        if (worker.pid > 0 && readRecord(worker, index, outcome))
            return outcome;
        // The child ended before this file's answer: it died on this file (its first), or on
        // one before, in which case a new child starts at this file.
        const bool diedHere = worker.pid > 0 && worker.firstIndex == index;
        stop(worker);
        if (diedHere) {
            start(worker, index + static_cast<int>(m_workers.size()));
            return {TAddResult::NotMedia, {}};
        }
        start(worker, index);
        if (worker.pid <= 0) // no child could be made: this process probes
            return ProbeOne(m_paths.at(index), m_filters, m_none);
    }
}

void TParallelProbe::start(TWorker& worker, int firstIndex) {
    worker.buffer.clear();
    worker.firstIndex = firstIndex;
    worker.pid = 0;
    if (firstIndex >= m_paths.size())
        return;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    TUniqueFd readEnd(fds[0]);
    TUniqueFd writeEnd(fds[1]);
    const pid_t pid = ::fork();
    if (pid < 0)
        return;
    if (pid == 0) {
        readEnd.release();
        runChild(writeEnd.get(), firstIndex);
    }
    worker.pid = pid;
    worker.pipe = std::move(readEnd);
}

void TParallelProbe::stop(TWorker& worker) {
    if (worker.pid <= 0)
        return;
    worker.pipe.reset();
    ::kill(worker.pid, SIGKILL);
    while (::waitpid(worker.pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    worker.pid = 0;
}

bool TParallelProbe::readRecord(TWorker& worker, int index, TProbeOutcome& outcome) {
    for (;;) {
        int got = -1;
        if (DecodeRecord(worker.buffer, got, outcome))
            return got == index;
        char chunk[16384];
        const ssize_t n = ::read(worker.pipe.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        worker.buffer.append(chunk, n);
    }
}

void TParallelProbe::runChild(int fd, int firstIndex) const {
    // Only this thread exists here. The child ends with its parent, and never runs the parent's
    // exit handlers.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The parent's signal handlers are not this child's: a stop request ends it.
    for (const int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP})
        ::signal(signal, SIG_DFL);
    const int step = static_cast<int>(m_workers.size());
    for (int i = firstIndex; i < m_paths.size(); i += step) {
        if (!m_wanted[static_cast<size_t>(i)])
            continue;
        if (!WriteAll(fd, EncodeRecord(i, ProbeOne(m_paths.at(i), m_filters, m_none))))
            ::_exit(1);
    }
    ::_exit(0);
}
