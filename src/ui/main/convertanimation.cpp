#include "ui/main/convertanimation.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int kFrameMs = 80;
constexpr int kFrames = 24; // one turn of the reel and one frame pitch of the strip
} // namespace

TConvertAnimation::TConvertAnimation(QWidget* parent) : QWidget(parent) {
    setFixedSize(sizeHint());
    m_timer.setInterval(kFrameMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        m_frame = (m_frame + 1) % kFrames;
        update();
    });
    hide();
}

void TConvertAnimation::Start() {
    show();
    m_timer.start();
}

void TConvertAnimation::Reset() {
    m_timer.stop();
    m_frame = 0;
    hide();
}

void TConvertAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = palette().color(QPalette::WindowText);
    const QColor accent = palette().color(QPalette::Highlight);
    const int h = height();

    // The reel at the left, turning.
    const QRectF reel(2, 2, h - 4, h - 4);
    p.setPen(QPen(ink, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(reel);
    p.save();
    p.translate(reel.center());
    p.rotate(360.0 * m_frame / kFrames);
    p.setBrush(accent);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.rotate(120);
        p.drawEllipse(QPointF(0, -reel.height() / 4), reel.height() / 8, reel.height() / 8);
    }
    p.restore();

    // The film strip sliding to the right, with sprocket holes and frames.
    const QRectF strip(h + 2, h / 4.0, width() - h - 4, h / 2.0);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRect(strip);
    p.setClipRect(strip);
    const double pitch = strip.height();
    const double offset = pitch * m_frame / kFrames;
    for (double x = strip.left() - pitch + offset; x < strip.right(); x += pitch) {
        p.setBrush(accent);
        p.drawRect(
            QRectF(x + pitch * 0.15, strip.top() + strip.height() * 0.25, pitch * 0.7, strip.height() * 0.5));
        p.setBrush(palette().color(QPalette::Window));
        p.drawRect(QRectF(x + pitch * 0.4, strip.top() + 1, pitch * 0.2, strip.height() * 0.12));
        p.drawRect(QRectF(x + pitch * 0.4, strip.bottom() - 1 - strip.height() * 0.12, pitch * 0.2,
                          strip.height() * 0.12));
    }
}
