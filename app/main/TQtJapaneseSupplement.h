#pragma once
// The few texts of Qt's own dialogs that Qt's Japanese translation (qtbase_ja) leaves in
// English: the file types of the file dialog ("Folder", "%1 File", "Unknown") and the page
// range of the print dialog ("Pages"). Installed after qtbase_ja, so it is asked first; it
// answers only for its contexts and texts and leaves everything else to qtbase_ja.
//
// Who calls: THexApplication::InstallQtJapanese.

#include <QTranslator>

class TQtJapaneseSupplement : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText, const char *disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};
