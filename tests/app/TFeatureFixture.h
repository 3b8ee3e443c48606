#pragma once
// What a feature is built with, around a bare window instead of the main window: an editor,
// a busy state, command places and a settings model. A test makes the feature it tests (and
// only that one) from Context(), as the main window does.

#include "TBusyState.h"
#include "TCommandPlaces.h"
#include "TFeatureContext.h"
#include "TSettingsModel.h"
#include "TVxHexcavator.h"

#include <QMainWindow>

struct TFeatureFixture {
    QMainWindow Window;
    TVxHexcavator *Editor = new TVxHexcavator(&Window);
    TBusyState Busy{&Window};
    TCommandPlaces Places;
    TSettingsModel Settings{Busy};

    TFeatureFixture()
    {
        Window.setCentralWidget(Editor);
        Editor->SetProgress(&Busy.Progress());
    }
    ~TFeatureFixture() { Editor->SetProgress(nullptr); }
    TFeatureContext Context() { return TFeatureContext{*Editor, Busy, Window, Places, Settings}; }
};
