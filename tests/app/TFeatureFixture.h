#pragma once
// What a feature is built with, around a bare window instead of the main window: an editor,
// a busy state, command places and a settings model. A test makes the feature it tests (and
// only that one) from Context(), as the main window does.

#include "FakeUi.h"
#include "TBusyState.h"
#include "TCommandPlaces.h"
#include "TFeatureContext.h"
#include "TSettingsModel.h"
#include "TVxHexcavator.h"

#include <QMainWindow>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// A feature test: scripted dialogs, a private settings file, a folder for test files and the
// fixture; the test adds the features it drives as members after these.
struct TFeatureTest : ::testing::Test {
    TFakeUi ui;
    TSettingsInTempDir settings;
    QTemporaryDir dir;
    TFeatureFixture fx;
    TVxHexcavator &ed = *fx.Editor;
};
