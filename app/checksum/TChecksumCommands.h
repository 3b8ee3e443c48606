#pragma once
// Checksums of the selection, or of the whole document when nothing is selected (ツール >
// チェックサム): the command "チェックサム(&S)..." in the place "tools.checksum" opens the dialog
// TfrmChecksum, which computes the checked algorithms at once and again when the choice
// changes. The work runs in the busy state ("チェックサム", progress, Esc cancels); it only
// reads, so it works in read-only mode too. The checked algorithms are kept in the settings
// (TSettings::ChecksumAlgorithms, keys of TVxChecksumKinds).
//
// Who calls: the main window creates it with its feature context.

#include "TFeatureContext.h"
#include "TVxChecksumSet.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QAction;

class TChecksumCommands {
public:
    explicit TChecksumCommands(const TFeatureContext &context);

    QAction *acChecksum;

    // The range the dialog covers: the selection, else the whole document.
    void Range(int64_t &offset, int64_t &count) const;
    // "範囲: 00000000 - 0000FFFF (65536 バイト)".
    QString RangeText() const;
    // The checksums of the range in the busy state; nothing when it failed (the busy state
    // said why) or was cancelled.
    std::optional<std::vector<TVxChecksumResult>> Compute(const std::vector<TVxChecksum> &kinds);
    // The checked algorithms of the settings (the defaults until the user chooses).
    std::vector<TVxChecksum> Chosen() const;

private:
    void acChecksumExecute();

    TFeatureContext FContext;
    // The receiver of the command's connection: it ends with the feature, not the window.
    QObject FLife;
};
