#include "ui/centre.h"

#include <QWidget>

void CentreOverOwner(QWidget* window, const QWidget* owner) {
    if (!owner)
        return;
    const QRect area = owner->window()->geometry();
    window->move(area.left() + (area.width() - window->width()) / 2,
                 area.top() + (area.height() - window->height()) / 2);
}
