#pragma once
// The converting animation of the progress window: a strip of film frames sliding past a
// spinning reel, drawn with the palette's colours. Hidden and still until started.
#include <QTimer>
#include <QWidget>

class TConvertAnimation : public QWidget {
    Q_OBJECT
  public:
    explicit TConvertAnimation(QWidget* parent = nullptr);

    void Start();
    // Stops and hides it, back at its first frame.
    void Reset();
    bool Running() const { return m_timer.isActive(); }
    int Frame() const { return m_frame; }

    QSize sizeHint() const override { return {96, 32}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QTimer m_timer;
    int m_frame = 0;
};
