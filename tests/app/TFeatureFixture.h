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

#include <QApplication>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

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

    // Triggers `command` and runs `drive` on the modal dialog of type D it opens; false when
    // no such dialog came up.
    template <typename D>
    bool DriveDialog(QAction *command, const std::function<void(D &)> &drive)
    {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto *d = qobject_cast<D *>(QApplication::activeModalWidget());
            if ((seen = d != nullptr))
                drive(*d);
        });
        command->trigger();
        return seen;
    }
};
