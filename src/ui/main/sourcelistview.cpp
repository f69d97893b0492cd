#include "ui/main/sourcelistview.h"

#include "app/byte_names.h"
#include "app/paths.h"
#include "sources/sourcelist.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QUrl>

TSourceListModel::TSourceListModel(TSourceList& list, QObject* parent)
    : QAbstractListModel(parent), m_list(list), m_count(list.Count()) {
    connect(&m_list, &TSourceList::rowsChanged, this, &TSourceListModel::listChanged);
}

int TSourceListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_count;
}

QVariant TSourceListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_count || index.row() >= m_list.Count())
        return {};
    const TSourceRow& row = m_list.Row(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        // A name that is not UTF-8 shows in its readable form, not as the path of its alias.
        return ByteNames().Display(row.Caption);
    case Qt::DecorationRole:
        return RowIcon(row.ImageIndex);
    default:
        return {};
    }
}

Qt::ItemFlags TSourceListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractListModel::flags(index);
    if (index.isValid())
        flags |= Qt::ItemIsDragEnabled;
    return flags | Qt::ItemIsDropEnabled;
}

Qt::DropActions TSourceListModel::supportedDropActions() const {
    return Qt::MoveAction | Qt::CopyAction;
}

QIcon TSourceListModel::RowIcon(int imageIndex) {
    // The desktop's icons where the theme has them; our own images otherwise.
    static const QIcon normal = QIcon::fromTheme(QStringLiteral("video-x-generic"),
                                                 QIcon(SkinsDir + QStringLiteral("imgListNormal.png")));
    static const QIcon error = QIcon::fromTheme(QStringLiteral("dialog-error"),
                                                QIcon(SkinsDir + QStringLiteral("imgListError.png")));
    return imageIndex == 1 ? error : normal;
}

void TSourceListModel::listChanged() {
    const int count = m_list.Count();
    // Only an add makes the list longer, and it appends: the views learn of the new rows alone,
    // so a long add does not lay out the whole list again for every file.
    if (count > m_count) {
        beginInsertRows(QModelIndex(), m_count, count - 1);
        m_count = count;
        endInsertRows();
    } else if (count == m_count) {
        if (count > 0)
            emit dataChanged(index(0), index(count - 1));
    } else {
        beginResetModel();
        m_count = count;
        endResetModel();
    }
}

TSourceListView::TSourceListView(TSourceList& list, QWidget* parent)
    : QListView(parent), m_list(list), m_model(new TSourceListModel(list, this)) {
    setModel(m_model);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setIconSize(QSize(20, 18));
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_list, &TSourceList::selectionChanged, this, &TSourceListView::selectionFromList);
    connect(&m_list, &TSourceList::currentRowChanged, this, &TSourceListView::currentFromList);
    // A reset model forgets its selection: show the list's again.
    connect(m_model, &QAbstractItemModel::modelReset, this, &TSourceListView::selectionFromList);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &TSourceListView::selectionFromList);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TSourceListView::selectionToList);
}

void TSourceListView::selectionFromList() {
    if (m_syncing)
        return;
    m_syncing = true;
    QItemSelection selection;
    for (int row : m_list.SelectedRows())
        selection.select(m_model->index(row), m_model->index(row));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
}

void TSourceListView::selectionToList() {
    if (m_syncing)
        return;
    m_syncing = true;
    const int count = std::min(m_list.Count(), m_model->rowCount());
    for (int row = 0; row < count; ++row)
        m_list.SetSelected(row, selectionModel()->isSelected(m_model->index(row)));
    m_syncing = false;
}

void TSourceListView::currentFromList(int index) {
    if (index < 0 || index >= m_model->rowCount())
        return;
    const QModelIndex current = m_model->index(index);
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    scrollTo(current);
}

void TSourceListView::MoveFocusedRowTo(int target) {
    const QModelIndex focused = currentIndex();
    if (!focused.isValid())
        return;
    m_list.MoveRow(focused.row(), target < 0 ? m_list.Count() : target);
}

QStringList DroppedPaths(const QMimeData* data) {
    QStringList paths;
    if (!data)
        return paths;
    // The path's bytes come from its percent-encoded form: a name that is not UTF-8 survives.
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << LocalPathOfUrl(url);
    }
    return paths;
}

void TSourceListView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this) {
        QListView::dragEnterEvent(event);
    } else if (!event->source() && event->mimeData()->hasUrls()) {
        // Files from a file manager: the model has no say in them.
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TSourceListView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() == this) {
        QListView::dragMoveEvent(event);
        event->acceptProposedAction();
    } else if (!event->source() && event->mimeData()->hasUrls()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TSourceListView::dropEvent(QDropEvent* event) {
    if (event->source() == this) {
        const QModelIndex over = indexAt(event->position().toPoint());
        // Accepted as a copy, so the view removes nothing itself after the drag.
        event->setDropAction(Qt::CopyAction);
        event->accept();
        MoveFocusedRowTo(over.isValid() ? over.row() : -1);
        return;
    }
    if (event->source() || !event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit filesDropped(DroppedPaths(event->mimeData()));
}
