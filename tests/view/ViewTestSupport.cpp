#include "ViewTestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>

void TViewTest::SetUp()
{
    View = std::make_unique<TVxHexcavator>();
    // Exact colours in grabbed pixels: no blending at glyph edges.
    QFont font = View->font();
    font.setStyleStrategy(QFont::NoAntialias);
    View->setFont(font);
    View->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(View.get()));
}

void TViewTest::TearDown() { View.reset(); }

void TViewTest::Load(const std::vector<uint8_t> &bytes, int rows)
{
    const std::string path = Dir.File("doc.bin");
    WriteFileBytes(path, bytes);
    View->LoadFromFile(path);
    ShowRows(rows);
}

void TViewTest::ShowRows(int rows, int extraWidth)
{
    const int frame = 2 * View->frameWidth();
    const int bar = View->verticalScrollBar()->sizeHint().width();
    View->resize(View->Geometry().TotalWidth() + frame + bar + extraWidth,
                 View->Geometry().HeaderHeight() + rows * View->DefaultRowHeight() + frame);
    QApplication::processEvents();
}

void TViewTest::Type(const char *text)
{
    for (const char *c = text; *c; ++c) {
        const bool upper = *c >= 'A' && *c <= 'Z';
        QTest::keyClick(View.get(), *c, upper ? Qt::ShiftModifier : Qt::NoModifier);
    }
}

QPoint TViewTest::CellPoint(int col, int32_t row, int dx) const
{
    const QRect r = View->CellRect(col, row);
    return QPoint(dx < 0 ? r.center().x() : r.left() + dx, r.center().y());
}

void TViewTest::Press(QPoint p, Qt::KeyboardModifiers mods)
{
    QTest::mousePress(View->viewport(), Qt::LeftButton, mods, p);
}

void TViewTest::MoveTo(QPoint p)
{
    QMouseEvent e(QEvent::MouseMove, p, View->viewport()->mapToGlobal(p), Qt::NoButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(View->viewport(), &e);
}

void TViewTest::Release(QPoint p) { QTest::mouseRelease(View->viewport(), Qt::LeftButton, Qt::NoModifier, p); }
