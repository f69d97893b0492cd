// Stand-in until the profile editors arrive: no editor opens, so nothing is saved.
#include "ui/editors/profileeditor.h"

std::unique_ptr<IProfileEditor> CreateProfileEditor(int, QWidget*) {
    return nullptr;
}
