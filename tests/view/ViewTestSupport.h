#pragma once
// A shown editor control over a document with known bytes, and input helpers that send
// real key and mouse events to it.

#include "TVxHexcavator.h"
#include "../engine/TestSupport.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

class TViewTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the bytes as the document and sizes the control to show `rows` data rows.
    void Load(const std::vector<uint8_t> &bytes, int rows = 20);
    void ShowRows(int rows, int extraWidth = 80);
    std::vector<uint8_t> Bytes() { return DocBytes(*View); }

    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(View.get(), key, mods); }
    // Types characters as the keyboard would (upper-case letters with Shift held).
    void Type(const char *text);
    // Mouse on a cell of the grid (its centre, or a given x inside it), viewport coordinates.
    QPoint CellPoint(int col, int32_t row, int dx = -1) const;
    void Press(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier);
    void MoveTo(QPoint p);
    void Release(QPoint p);
    // A key that moves nothing, so the live modifier state reads "none" again.
    void ReleaseModifiers() { Key(Qt::Key_Escape); }

    int32_t Caret() const { return View->GetCaretOffset(); }

    TScratchDir Dir;
    std::unique_ptr<TVxHexcavator> View;
};
