// Until the main window exists, the program shows the editor control alone in a plain
// window with the first file of the command line loaded, writable.

#include "TVxHexcavator.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <exception>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Hexcavator"));
    QApplication::setApplicationDisplayName(QStringLiteral("へくすかばっと。"));

    TVxHexcavator editor;
    editor.SetCaretColor(QColor(0x80, 0x80, 0x80));
    editor.resize(900, 600);
    QString title = QStringLiteral("無題");
    if (argc > 1) {
        try {
            editor.LoadFromFile(argv[1]);
            title = QFileInfo(QString::fromLocal8Bit(argv[1])).fileName();
        } catch (const std::exception &e) {
            QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), QString::fromUtf8(e.what()));
        }
    }
    editor.setWindowTitle(title);
    editor.show();
    editor.setFocus();
    return app.exec();
}
