#pragma once
// Builds the editor model of an output format from its definition (editordefs.h), bound to the
// format's current settings record.
#include "profiles/editor/editormodel.h"

#include <memory>

// The model of a format's editor: captions, lists and track-bar ranges set, nothing
// loaded yet. Throws EVaridError for an unknown format.
std::unique_ptr<TEditorModel> BuildEditorModel(int formatIndex);
