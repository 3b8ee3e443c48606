#pragma once
// The options command of the main window (acOption, Alt+Enter): the dialog TfrmOption, filled
// from the main window and its editor, and on OK everything taken back and the whole settings
// file written, whether or not other instances run.

class TfrmMain;

class TOptionCommands {
public:
    explicit TOptionCommands(TfrmMain &main) : FMain(main) {}
    void Connect();

    void acOptionExecute();

private:
    TfrmMain &FMain;
};
