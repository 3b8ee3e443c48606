#pragma once
// How many editor windows are running on this desktop for this user: decides whether this
// instance restores the window placement and search text at start and writes the settings
// at exit (only when it is the only one).
//
// Until instances find each other this instance is the only one it knows of.

class TEditorInstances {
public:
    static int EditorInstanceCount();
};
