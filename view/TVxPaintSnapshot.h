#pragma once
// What one paint of the grid reads, and nothing more: the layout, the style, the scroll
// position, the caret cell, the selection, the character column's decoder and where the
// bytes come from. TVxHexcavator::paintEvent fills one on the stack for each paint and hands it to
// TVxCellPainter, so the painter sees the control's state read-only and knows nothing else
// of the control.
//
// Cheap to build: a few integers and three references (geometry, style, document), no
// copies of anything large, no allocation. Valid only during the paint that made it; the
// document is not const because reading a byte may move its cache window.

#include "TVxGridGeometry.h"
#include "TVxViewStyle.h"

#include <cstdint>

class TVxCharDecoder;
class TVxDocument;
class TVxMarkSource;

struct TVxPaintSnapshot {
    const TVxGridGeometry &Geometry;
    const TVxViewStyle &Style;
    TVxDocument &Bytes; // ByteAt and FileSize, through the document's cache window
    int Width, Height;  // of the viewport
    int32_t TopRow;     // first data row shown
    int LeftCol;        // first scrollable column shown
    int32_t RowCount;   // header row included
    int Col;            // the caret cell
    int32_t Row;
    int32_t FileSize;
    int32_t SelLo, SelHi; // ordered selection, both -1 when none
    bool SelExtentSet;    // a selection extent is set: no underline then
    const TVxCharDecoder &Decoder;
    const TVxMarkSource *Marks; // none when null
};
