#pragma once
// The one settings model of a main window: the values of the settings file (TSettings) and
// the sections of the features that hold them live.
//
// A feature that keeps settings in its own objects (the window's placement, the editor's
// look, the byte values panel, the search text, the recent files) adds a section: how to
// apply the values to itself and how to collect them back. Values that no object holds live
// (the file commands' two flags, the print settings, the font's character set) are read and
// changed in Values() directly by whoever uses them.
//
// Load reads the settings file and applies the values to every section in the order the
// sections were added; that order is the apply order callers may rely on (placement first).
// Save collects every section into Values() and writes the whole file. A value the file held
// that could not be read is named to the user once, after the window has come up, and
// loading goes on without it.
//
// Who calls: the main window adds its own sections and creates the features (which add
// theirs), then Load()s; it Save()s at exit when no other instance runs; the options command
// changes Values() and the editor's look, then Save()s.

#include "TSettings.h"

#include <functional>
#include <string>
#include <vector>

class TBusyState;

class TSettingsModel {
public:
    using TApply = std::function<void(const TSettings &s, bool soleInstance)>;
    using TCollect = std::function<void(TSettings &s)>;

    explicit TSettingsModel(TBusyState &busy) : FBusy(busy) {}

    TSettings &Values() { return FValues; }
    const TSettings &Values() const { return FValues; }

    void AddSection(TApply apply, TCollect collect);

    // Reads the settings file and applies it.
    void Load(bool soleInstance);
    // Applies `s` (read from `fileName`) to the values and every section.
    void Apply(const TSettings &s, bool soleInstance, const std::string &fileName);
    // Values() with every section's current state collected into it.
    TSettings Collect();
    // Collects and writes the whole settings file.
    void Save();

private:
    struct TSection {
        TApply Apply;
        TCollect Collect;
    };
    TBusyState &FBusy;
    TSettings FValues;
    std::vector<TSection> FSections;
};
