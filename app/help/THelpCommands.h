#pragma once
// The Help menu's commands: the Japanese user guide (目次, F1, through THelpFile), the about
// box (バージョン情報, TfrmVersion) and the help file (作者ホームページ, the README through
// THelpFile).
//
// Who calls: the main window creates it with its feature context.

#include "TFeatureContext.h"

class QAction;

class THelpCommands {
public:
    explicit THelpCommands(const TFeatureContext &context);

    QAction *acContents, *acVersion, *acHomepage;
};
