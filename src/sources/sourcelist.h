#pragma once
// The queue of source files to convert: one row per file with its media facts. The list is a
// model; the window's table and the terminal converter are views that follow its signals.
#include "engine/batch_queue.h"
#include "media/fileitem.h"
#include "sources/parallel_probe.h"
#include "sources/source_filters.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <vector>

struct TSourceRow {
    QString Caption;    // the source path as given; the row's identity everywhere
    int ImageIndex = 0; // 0 normal, 1 error mark (set after a batch with failures)
    bool Selected = false;
    TFileItem Item; // owned by the row, moves with it
};

enum class TMoveDirection { Up, Down };

// The output path a source would be converted to.
using TOutputPathFn = IBatchQueue::OutputPathFn;

// "Summary: No files", "Summary: One file" or "Summary: %d files".
QString SummaryText(int count);

class TSourceList : public QObject, public IBatchQueue {
    Q_OBJECT
  public:
    explicit TSourceList(QObject* parent = nullptr);

    // The "desc=patterns" lines that decide which extensions are accepted: the loaded language's
    // list, unless a list of its own is set.
    void SetInputFilters(const QStringList& filters);
    const QStringList& AcceptedFilters() const;

    int Count() const override { return static_cast<int>(m_rows.size()); }
    const TSourceRow& Row(int index) const { return m_rows.at(static_cast<size_t>(index)); }
    // Index of the first row whose caption equals the path exactly, or -1.
    int IndexOf(const QString& path) const;
    QStringList Captions() const;
    // The sum of every row's FileSize.
    qint64 TotalBytes() const;

    // Probes the file and appends its row. A missing file, a name that is not a regular file (it is
    // never opened: a named pipe would block), a refused extension or a path already in the list is
    // skipped silently; a file the media library cannot describe is refused with
    // a message box.
    TAddResult AddSourceFile(const QString& path);
    // AddSourceFile for each path in order; emits addingFile before each one. A long list is probed by
    // child processes, one per core, ahead of the rows being appended here in the order given.
    QList<TAddResult> AddSourceFiles(const QStringList& paths);
    // Files chosen in the add dialog or dropped on the list: with the busy cursor, optionally
    // empties the list first, adds the files (folders are skipped) and selects the last row. A
    // path whose name is not UTF-8, in its decoded form, is added through its alias
    // (ByteNames().Resolve); one that matches no file or several is named in a message.
    QList<TAddResult> AddAndSelect(const QStringList& paths, bool clearFirst);

    // Used by the batch driver: a converted file leaves the list, a failed one goes to the end.
    // False when no row has that caption.
    bool RemoveSourceRow(const QString& path);
    bool MoveSourceRowToEnd(const QString& path);

    // The list as the batch driver sees it.
    QString Caption(int row) const override { return Row(row).Caption; }
    int64_t FileSize(int row) const override { return FileSizeBytes(Row(row).Item); }
    void RemoveRow(const QString& path) override { RemoveSourceRow(path); }
    void MoveRowToEnd(const QString& path) override { MoveSourceRowToEnd(path); }

    // Moves row from to the place before row insertBefore (counted before the move; Count()
    // means the end), keeping its selection and record.
    void MoveRow(int from, int insertBefore);
    // Moves the first selected row one place up or down.
    void MoveSourceRow(TMoveDirection direction);

    // Selection, kept here so that every view shows the same.
    void SelectSourceRow(int index); // only this row (or the last one when past the end)
    void SetSelected(int index, bool selected);
    void SelectAll();
    QList<int> SelectedRows() const;
    // The first selected row's record, or nullptr: what the media panel shows.
    const TFileItem* SelectedItem() const;
    // The row last selected with SelectSourceRow or moved (the focused row); -1 when none.
    int CurrentRow() const { return m_current; }

    // Removes the selected rows and selects the row that took the first freed place.
    void DeleteSelectedRows();
    void Clear();
    void SetImageIndex(int index, int image);
    void SetAllImageIndexes(int image);

    QString Summary() const { return SummaryText(Count()); }

    // The checks of the convert action over the whole list; each shows its message and returns
    // false when the batch must not start.
    bool CheckInputOutputDiffer(const TOutputPathFn& outputPath) override;
    bool CheckOutputsDistinct(const TOutputPathFn& outputPath) override;
    bool ConfirmOverwrite(const TOutputPathFn& outputPath) override;

  signals:
    // Rows were added, removed, moved or changed their image.
    void rowsChanged();
    void selectionChanged();
    // A row to bring into view and focus.
    void currentRowChanged(int index);
    void summaryChanged(const QString& text);
    // Emitted by AddSourceFiles before each file: a window lets pending events run here so it
    // keeps painting during a long add; a terminal may print progress.
    void addingFile(const QString& path, int index, int count);

  private:
    TAddResult appendProbed(const QString& path, TProbeOutcome outcome);
    void RowsChanged(bool countChanged);
    void SetCurrent(int index);

    std::vector<TSourceRow> m_rows;
    QStringList m_inputFilters;
    bool m_ownFilters = false;
    int m_current = -1;
};
