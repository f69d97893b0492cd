#pragma once
// Places a window centred over its owner: top = owner top + (owner height - height) / 2, left
// likewise. Without an owner the window stays where the window system puts it.
class QWidget;

void CentreOverOwner(QWidget* window, const QWidget* owner);
