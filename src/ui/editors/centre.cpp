#include "ui/editors/centre.h"

#include <QWidget>

void CentreOverOwner(QWidget* window, const QWidget* owner) {
    if (!owner)
        return;
    window->adjustSize();
    const QWidget* top = owner->window();
    const QRect area = top->frameGeometry();
    window->move(area.left() + (area.width() - window->width()) / 2,
                 area.top() + (area.height() - window->height()) / 2);
}
