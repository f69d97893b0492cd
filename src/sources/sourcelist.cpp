#include "sources/sourcelist.h"

#include "app/byte_names.h"
#include "app/dialogs.h"
#include "app/utils.h"
#include "lang/multilanguages.h"
#include "lang/strings.h"
#include "media/probe.h"
#include "sources/parallel_probe.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace {

// Two paths name the same file: equal text, equal once "." and ".." are resolved, or, when both
// exist, the same file after links are followed.
bool SameFile(const QString& a, const QString& b) {
    if (a == b || QDir::cleanPath(a) == QDir::cleanPath(b))
        return true;
    const QFileInfo fa(a), fb(b);
    return fa.exists() && fb.exists() && fa.canonicalFilePath() == fb.canonicalFilePath();
}

void ShowError(const QString& text) {
    Dialogs().MessageBox(text, Str(Ids::IDS_MESSAGEBOX_DifferTitle), TMsgDlgType::mtInformation,
                         static_cast<TMsgDlgButtons>(TMsgDlgBtn::mbOK));
}

// The paths with each name that is not UTF-8 (given in its decoded form) replaced by its alias; a
// name that cannot be matched to exactly one file is named in a message and left as given.
QStringList ReachableNames(const QStringList& paths) {
    QStringList reachable;
    for (const QString& path : paths) {
        const TResolvedName name = ByteNames().Resolve(path);
        if (name.match == TNameMatch::NotFound || name.match == TNameMatch::Ambiguous) {
            const Ids text = name.match == TNameMatch::NotFound ? Ids::IDS_MESSAGEBOX_UnreadableNameNotFound
                                                                : Ids::IDS_MESSAGEBOX_UnreadableNameAmbiguous;
            Dialogs().MessageBox(FormatStr(Str(text), {path}), Str(Ids::IDS_MESSAGEBOX_Error),
                                 TMsgDlgType::mtWarning, static_cast<TMsgDlgButtons>(TMsgDlgBtn::mbOK));
        }
        reachable << name.path;
    }
    return reachable;
}

} // namespace

QString SummaryText(int count) {
    if (count == 0)
        return Str(Ids::IDS_MAIN_LABEL_SummaryNoFile);
    if (count == 1)
        return Str(Ids::IDS_MAIN_LABEL_SummaryOneFile);
    return FormatStr(Str(Ids::IDS_MAIN_LABEL_SummaryFile), {QString::number(count)});
}

TSourceList::TSourceList(QObject* parent) : QObject(parent) {}

void TSourceList::SetInputFilters(const QStringList& filters) {
    m_inputFilters = filters;
    m_ownFilters = true;
}

const QStringList& TSourceList::AcceptedFilters() const {
    return m_ownFilters ? m_inputFilters : InputFilters;
}

int TSourceList::IndexOf(const QString& path) const {
    const auto it = std::find_if(m_rows.begin(), m_rows.end(),
                                 [&](const TSourceRow& row) { return row.Caption == path; });
    return it == m_rows.end() ? -1 : static_cast<int>(it - m_rows.begin());
}

QStringList TSourceList::Captions() const {
    QStringList captions;
    for (const TSourceRow& row : m_rows)
        captions << row.Caption;
    return captions;
}

qint64 TSourceList::TotalBytes() const {
    qint64 total = 0;
    for (const TSourceRow& row : m_rows)
        total += FileSizeBytes(row.Item);
    return total;
}

TAddResult TSourceList::AddSourceFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return TAddResult::NotFound;
    if (!info.isFile())
        return TAddResult::NotRegularFile;
    if (!IsAcceptedExtension(ExtractFileExt(path), AcceptedFilters()))
        return TAddResult::NotAccepted;
    // Letter case counts: /a/A.AVI after /a/a.avi is another file.
    if (IndexOf(path) >= 0)
        return TAddResult::Duplicate;
    TFileItem item = ProbeFileItem(path);
    return appendProbed(path,
                        {IsDescribed(item) ? TAddResult::Added : TAddResult::NotMedia, std::move(item)});
}

TAddResult TSourceList::appendProbed(const QString& path, TProbeOutcome outcome) {
    if (outcome.result == TAddResult::NotMedia) {
        Dialogs().MessageBox(FormatStr(Str(Ids::IDS_MESSAGEBOX_FormatError), {path}),
                             Str(Ids::IDS_MESSAGEBOX_Error), TMsgDlgType::mtInformation,
                             static_cast<TMsgDlgButtons>(TMsgDlgBtn::mbOK));
    }
    if (outcome.result != TAddResult::Added)
        return outcome.result;
    m_rows.push_back(TSourceRow{outcome.item.FullPath(), 0, false, std::move(outcome.item)});
    RowsChanged(true);
    return TAddResult::Added;
}

QList<TAddResult> TSourceList::AddSourceFiles(const QStringList& paths) {
    // Each path is probed once, by child processes for a long list, ahead of the loop below; a
    // path already in the list or given earlier in paths is not probed again.
    const qsizetype count = paths.size();
    QHash<QString, int> firstIndex;
    for (const TSourceRow& row : m_rows)
        firstIndex.insert(row.Caption, -1);
    std::vector<bool> wanted(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const bool first = !firstIndex.contains(paths[i]);
        if (first)
            firstIndex.insert(paths[i], i);
        wanted[static_cast<size_t>(i)] = first;
    }
    TParallelProbe probe(paths, wanted, AcceptedFilters(), Str(Ids::IDS_None));

    // The rows are appended here, in the order given; a window keeps painting between files.
    QList<TAddResult> results;
    for (int i = 0; i < count; ++i) {
        emit addingFile(paths[i], i, static_cast<int>(count));
        if (wanted[static_cast<size_t>(i)]) {
            TProbeOutcome outcome = probe.Take(i);
            // Rows may have changed while events ran: a path added meanwhile is a duplicate.
            if (outcome.result == TAddResult::Added && IndexOf(paths[i]) >= 0)
                outcome.result = TAddResult::Duplicate;
            results << appendProbed(paths[i], std::move(outcome));
        } else {
            // Given before (or already listed): a duplicate when it was added, else the same
            // answer as its first time.
            const int first = firstIndex.value(paths[i]);
            results << (IndexOf(paths[i]) >= 0 || first < 0
                            ? TAddResult::Duplicate
                            : appendProbed(paths[i], {results.at(first), {}}));
        }
    }
    return results;
}

QList<TAddResult> TSourceList::AddAndSelect(const QStringList& paths, bool clearFirst) {
    const TBusyScope busy;
    if (clearFirst)
        Clear();
    const QList<TAddResult> results = AddSourceFiles(ReachableNames(paths));
    SelectSourceRow(Count());
    return results;
}

bool TSourceList::RemoveSourceRow(const QString& path) {
    const int index = IndexOf(path);
    if (index < 0)
        return false;
    const bool wasSelected = m_rows[static_cast<size_t>(index)].Selected;
    m_rows.erase(m_rows.begin() + index);
    if (m_current == index)
        m_current = -1;
    else if (m_current > index)
        --m_current;
    RowsChanged(true);
    if (wasSelected)
        emit selectionChanged();
    return true;
}

bool TSourceList::MoveSourceRowToEnd(const QString& path) {
    const int index = IndexOf(path);
    if (index < 0)
        return false;
    MoveRow(index, Count());
    return true;
}

void TSourceList::MoveRow(int from, int insertBefore) {
    if (from < 0 || from >= Count() || insertBefore < 0 || insertBefore > Count())
        return;
    const int to = insertBefore > from ? insertBefore - 1 : insertBefore;
    if (to == from)
        return;
    const auto first = m_rows.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    // The focus follows the moved row; rows between shift by one.
    if (m_current == from)
        m_current = to;
    else if (from < to && m_current > from && m_current <= to)
        --m_current;
    else if (to < from && m_current >= to && m_current < from)
        ++m_current;
    RowsChanged(false);
    emit selectionChanged();
}

void TSourceList::MoveSourceRow(TMoveDirection direction) {
    const QList<int> selected = SelectedRows();
    if (selected.isEmpty())
        return;
    const int index = selected.first();
    if (direction == TMoveDirection::Up) {
        if (index == 0)
            return;
        MoveRow(index, index - 1);
        SetCurrent(index - 1);
    } else {
        if (index == Count() - 1)
            return;
        MoveRow(index, index + 2);
        SetCurrent(index + 1);
    }
}

void TSourceList::SelectSourceRow(int index) {
    if (m_rows.empty())
        return;
    for (TSourceRow& row : m_rows)
        row.Selected = false;
    const int target = std::clamp(index, 0, Count() - 1);
    m_rows[static_cast<size_t>(target)].Selected = true;
    emit selectionChanged();
    SetCurrent(target);
}

void TSourceList::SetSelected(int index, bool selected) {
    if (index < 0 || index >= Count() || m_rows[static_cast<size_t>(index)].Selected == selected)
        return;
    m_rows[static_cast<size_t>(index)].Selected = selected;
    emit selectionChanged();
}

void TSourceList::SelectAll() {
    for (TSourceRow& row : m_rows)
        row.Selected = true;
    emit selectionChanged();
}

QList<int> TSourceList::SelectedRows() const {
    QList<int> rows;
    for (int i = 0; i < Count(); ++i) {
        if (m_rows[static_cast<size_t>(i)].Selected)
            rows << i;
    }
    return rows;
}

const TFileItem* TSourceList::SelectedItem() const {
    const auto it =
        std::find_if(m_rows.begin(), m_rows.end(), [](const TSourceRow& r) { return r.Selected; });
    return it == m_rows.end() ? nullptr : &it->Item;
}

void TSourceList::DeleteSelectedRows() {
    const QList<int> selected = SelectedRows();
    if (selected.isEmpty())
        return;
    std::erase_if(m_rows, [](const TSourceRow& row) { return row.Selected; });
    m_current = -1;
    RowsChanged(true);
    if (m_rows.empty())
        emit selectionChanged();
    else
        SelectSourceRow(selected.first());
}

void TSourceList::Clear() {
    const bool hadSelection = SelectedItem() != nullptr;
    m_rows.clear();
    m_current = -1;
    RowsChanged(true);
    if (hadSelection)
        emit selectionChanged();
}

void TSourceList::SetImageIndex(int index, int image) {
    if (index < 0 || index >= Count() || m_rows[static_cast<size_t>(index)].ImageIndex == image)
        return;
    m_rows[static_cast<size_t>(index)].ImageIndex = image;
    RowsChanged(false);
}

void TSourceList::SetAllImageIndexes(int image) {
    for (TSourceRow& row : m_rows)
        row.ImageIndex = image;
    RowsChanged(false);
}

bool TSourceList::CheckInputOutputDiffer(const TOutputPathFn& outputPath) {
    for (const TSourceRow& row : m_rows) {
        const QString output = outputPath(row.Caption);
        if (SameFile(output, row.Caption)) {
            ShowError(FormatStr(Str(Ids::IDS_MESSAGE_MustBeDiffer), {output}));
            return false;
        }
    }
    return true;
}

bool TSourceList::CheckOutputsDistinct(const TOutputPathFn& outputPath) {
    QHash<QString, QString> sourceOf; // cleaned output path -> the first source converted to it
    for (const TSourceRow& row : m_rows) {
        const QString output = outputPath(row.Caption);
        const QString key = QDir::cleanPath(output);
        const auto earlier = sourceOf.constFind(key);
        if (earlier != sourceOf.constEnd()) {
            ShowError(FormatStr(Str(Ids::IDS_MESSAGE_SameOutput), {output, *earlier, row.Caption}));
            return false;
        }
        sourceOf.insert(key, row.Caption);
    }
    return true;
}

bool TSourceList::ConfirmOverwrite(const TOutputPathFn& outputPath) {
    const QStringList captions = {Str(Ids::IDS_MESSAGE_BUTTON_Yes), Str(Ids::IDS_MESSAGE_BUTTON_No),
                                  Str(Ids::IDS_SHUTDOWN_BUTTON_Cancel),
                                  Str(Ids::IDS_MESSAGE_BUTTON_YesToAll)};
    const TMsgDlgButtons buttons =
        TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbCancel | TMsgDlgBtn::mbYesToAll;
    for (const TSourceRow& row : m_rows) {
        const QString output = outputPath(row.Caption);
        // A link at the output name, also one that points nowhere, is an existing file: the
        // conversion replaces it.
        if (const QFileInfo out(output); !out.exists() && !out.isSymLink())
            continue;
        // Enter answers No: an existing file is replaced only by an explicit choice.
        const int answer = MessageDlgCaptions(FormatStr(Str(Ids::IDS_MESSAGEBOX_FileExists), {output}),
                                              Str(Ids::IDS_MESSAGEBOX_Overwrite), TMsgDlgType::mtConfirmation,
                                              captions, buttons, TMsgDlgBtn::mbNo);
        if (answer == mrYes)
            continue;
        if (answer == mrYesToAll) {
            return MessageDlgCaptions(Str(Ids::IDS_MESSAGEBOX_SureTOOverwrite),
                                      Str(Ids::IDS_MESSAGEBOX_Overwrite), TMsgDlgType::mtConfirmation,
                                      captions.mid(0, 3),
                                      TMsgDlgBtn::mbYes | TMsgDlgBtn::mbNo | TMsgDlgBtn::mbCancel,
                                      TMsgDlgBtn::mbNo) == mrYes;
        }
        return false;
    }
    return true;
}

void TSourceList::RowsChanged(bool countChanged) {
    emit rowsChanged();
    if (countChanged)
        emit summaryChanged(Summary());
}

void TSourceList::SetCurrent(int index) {
    m_current = index;
    emit currentRowChanged(index);
}
