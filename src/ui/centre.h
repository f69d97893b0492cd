#pragma once
// Places a window centred over its owner's window: top = owner top + (owner height - height) / 2,
// left likewise. A window not shown yet first takes its preferred size, so that the size it will
// show with is the one centred. Without an owner the window stays where the window system puts it.
class QWidget;

void CentreOverOwner(QWidget* window, const QWidget* owner);
