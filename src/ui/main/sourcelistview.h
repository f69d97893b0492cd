#pragma once
// The source list as the main window shows it: a one-column list of source paths with an icon
// (normal or error mark), several rows selectable, rows dragged within the list to reorder them,
// files dropped from a file manager added. The rows and the selection live in TSourceList; this
// view follows its signals and hands the user's selection back to it.
#include <QAbstractListModel>
#include <QIcon>
#include <QListView>

class TSourceList;

class TSourceListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    explicit TSourceListModel(TSourceList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDropActions() const override;

    // The icons of image index 0 (normal) and 1 (error mark).
    static QIcon RowIcon(int imageIndex);

  private:
    void listChanged();

    TSourceList& m_list;
    int m_count = 0; // rows the views know of
};

class TSourceListView : public QListView {
    Q_OBJECT
  public:
    explicit TSourceListView(TSourceList& list, QWidget* parent = nullptr);

    // The drop of a drag that started in the list: the focused row goes to the place of the row
    // under the mouse, or to the end when the mouse is below the last row (target -1).
    void MoveFocusedRowTo(int target);

  signals:
    // Paths of files dropped from outside the program, in the drop's order.
    void filesDropped(const QStringList& paths);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void selectionFromList();
    void selectionToList();
    void currentFromList(int index);

    TSourceList& m_list;
    TSourceListModel* m_model;
    bool m_syncing = false;
};

// The local paths of a drop's URLs, each taken whole, in the drop's order.
QStringList DroppedPaths(const QMimeData* data);
