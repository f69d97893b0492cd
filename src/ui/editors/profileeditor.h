#pragma once
// The profile editor of one output format: a modal window over that format's current settings
// record. Profile management creates it, copies the record in, shows it and copies it back.
#include <memory>

class QWidget;

class IProfileEditor {
  public:
    virtual ~IProfileEditor() = default;
    // Copies the format's current settings record into the controls.
    virtual void ProfileToControls() = 0;
    // Copies the controls back into the format's current settings record.
    virtual void ControlsToProfile() = 0;
    // Shows the editor modally; true when the user saved (closed with OK).
    virtual bool Execute() = 0;
};

// Creates the editor window of a format, centred over owner.
std::unique_ptr<IProfileEditor> CreateProfileEditor(int formatIndex, QWidget* owner);
