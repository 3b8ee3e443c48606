#include "TEditorInstances.h"

int TEditorInstances::EditorInstanceCount() { return 1; }
