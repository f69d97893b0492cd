#pragma once
// Places a window centred over its owner's window: top = owner top + (owner height - height) / 2,
// left likewise, with the window's current size (a window that sizes itself from its layout calls
// adjustSize first). Without an owner the window stays where the window system puts it.
class QWidget;

void CentreOverOwner(QWidget* window, const QWidget* owner);
