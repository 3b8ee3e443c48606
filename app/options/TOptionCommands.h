#pragma once
// The options command (acOption, Alt+Enter): the dialog TfrmOption, filled from the settings
// model and the editor; on OK the editor has its new look already (the dialog's OK button
// sets it), the file and print values go back into the settings model, and the whole
// settings file is written, whether or not other instances run.
//
// Who calls: the main window creates it with its feature context.

#include "TFeatureContext.h"

class QAction;

class TOptionCommands {
public:
    explicit TOptionCommands(const TFeatureContext &context);

    QAction *acOption;

    void acOptionExecute();

private:
    TFeatureContext FContext;
};
