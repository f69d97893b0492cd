#pragma once
// The media panel below the source list: the facts of the selected file in three groups
// (general, video, audio), each with a left and a right column of caption and value labels, and
// the link-style "More..." button that opens the file information window.
#include "media/fileitem.h"

#include <QFrame>
#include <QList>

class QLabel;
class QPushButton;

class TMediaPanel : public QFrame {
    Q_OBJECT
  public:
    explicit TMediaPanel(QWidget* parent = nullptr);

    // The values of a record, or the "<None>" text in every value label without one.
    void ShowMediaPanel(const TFileItem* item);
    void ApplyCaptions();
    QPushButton* MoreButton() const { return btnMore; }

  private:
    QList<QLabel*> m_headings;
    QList<QLabel*> m_captions; // in the order of kMediaPanelFields
    QList<QLabel*> m_values;
    QPushButton* btnMore = nullptr;
};
