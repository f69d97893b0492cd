#include "sources/parallel_probe.h"

#include "media/probe.h"
#include "sources/sourcelist.h"

#include <QFileInfo>

#include <algorithm>

TParallelProbe::TParallelProbe(QStringList paths, std::vector<bool> wanted, QStringList filters,
                               QString noneText)
    : m_paths(std::move(paths)), m_wanted(std::move(wanted)), m_filters(std::move(filters)),
      m_none(std::move(noneText)), m_outcomes(static_cast<size_t>(m_paths.size())),
      m_ready(static_cast<size_t>(m_paths.size()), false) {
    const int cores = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const int workers = std::min({cores, 8, static_cast<int>(m_paths.size())});
    for (int i = 0; i < workers; ++i)
        m_workers.emplace_back(&TParallelProbe::Work, this);
}

TParallelProbe::~TParallelProbe() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    for (std::thread& worker : m_workers)
        worker.join();
}

TProbeOutcome TParallelProbe::Take(int index) {
    std::unique_lock lock(m_mutex);
    const auto i = static_cast<size_t>(index);
    m_done.wait(lock, [&] { return m_ready[i]; });
    return std::move(m_outcomes[i]);
}

void TParallelProbe::Work() {
    for (;;) {
        int index;
        {
            const std::lock_guard lock(m_mutex);
            if (m_stop || m_next >= m_paths.size())
                return;
            index = m_next++;
        }
        const auto i = static_cast<size_t>(index);
        TProbeOutcome outcome =
            m_wanted[i] ? Probe(m_paths.at(index)) : TProbeOutcome{TAddResult::NotFound, {}};
        {
            const std::lock_guard lock(m_mutex);
            m_outcomes[i] = std::move(outcome);
            m_ready[i] = true;
        }
        m_done.notify_all();
    }
}

TProbeOutcome TParallelProbe::Probe(const QString& path) const {
    const QFileInfo info(path);
    if (!info.exists())
        return {TAddResult::NotFound, {}};
    if (!info.isFile())
        return {TAddResult::NotRegularFile, {}};
    if (!IsAcceptedExtension(ExtractFileExt(path), m_filters))
        return {TAddResult::NotAccepted, {}};
    TFileItem item = NewFileItem(path);
    ProbeFile(path, item, m_none);
    if (!IsDescribed(item, m_none))
        return {TAddResult::NotMedia, {}};
    return {TAddResult::Added, std::move(item)};
}
