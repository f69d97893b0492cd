#pragma once
// Builds the editor model of an output format from its definition (editordefs.h), bound to the
// format's current settings record.
#include "profiles/editor/editormodel.h"

#include <memory>

// The model of a format's editor (0..15): captions, lists and track-bar ranges set, nothing
// loaded yet. Throws EVaridError outside 0..15.
std::unique_ptr<TEditorModel> BuildEditorModel(int formatIndex);
