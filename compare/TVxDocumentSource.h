#pragma once
// The edited document as a compare's side A: its bytes as they stand, read through
// TVxDocument::ReadInto (the working copy's file around the cache window), which neither
// moves the window nor writes. One pread per file part of a block: page-cache speed.
//
// The document must not change while a compare runs (the program runs compares while the
// window is busy, so no edit can come in between). Who calls: the program's compare command.

#include "TVxByteSource.h"
#include "TVxDocument.h"

class TVxDocumentSource : public TVxByteSource {
public:
    explicit TVxDocumentSource(const TVxDocument &doc) : FDoc(doc) {}

    int64_t Size() const override { return FDoc.FileSize(); }
    // Throws std::runtime_error when the document is shorter than pos + count.
    void Read(int64_t pos, uint8_t *buf, int32_t count) override;

private:
    const TVxDocument &FDoc;
};
