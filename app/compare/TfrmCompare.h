#pragma once
// The dialog "ファイルの比較": the other file's path, in an editable list that holds the recent
// files and has the focus when the dialog opens, a browse button, and "挿入・削除を考慮する(&I)"
// (checked unless the caller says otherwise). Return confirms; OK stays disabled while the
// path is empty. Modal; the caller reads the choice after exec().
//
// Who calls: the compare commands (ファイルの比較).

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;

class TfrmCompare : public QDialog {
    Q_OBJECT
public:
    TfrmCompare(QWidget *parent, const std::vector<std::string> &recentFiles, bool aligned);

    QString FileName() const;
    bool Aligned() const;

    QComboBox *cmbFileName;
    QPushButton *btnBrowse;
    QCheckBox *chkAligned;
    QPushButton *btnOk;
    QPushButton *btnCancel;
};
