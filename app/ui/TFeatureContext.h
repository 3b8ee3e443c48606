#pragma once
// What a feature of the main window gets to work with, and nothing more: the editor, the
// window's busy state (running work, showing messages), the widget that parents its dialogs
// and docks, the places for its commands, and the settings model. Features never see the
// main window or each other; what several of them need to hear travels as events.
//
// Who builds it: the main window, once, before its features; tests build one around a bare
// window (tests/app/TFeatureFixture.h) to test a feature alone.

class QMainWindow;
class TBusyState;
class TCommandPlaces;
class TSettingsModel;
class TVxHexcavator;

struct TFeatureContext {
    TVxHexcavator &Editor;
    TBusyState &Busy;
    // Parent of the feature's dialogs and docks; a feature does not reach into it.
    QMainWindow &Window;
    TCommandPlaces &Places;
    TSettingsModel &Settings;
};
