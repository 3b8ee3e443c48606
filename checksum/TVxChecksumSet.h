#pragma once
// The checksums chosen, computed together: every accumulator is fed from the same buffer, a
// slice at a time so that the slice is still in the processor's cache for the next one.
//
// Who calls: TVxChecksumRunner (its worker thread feeds the set; the set is touched by that
// thread only while it runs), tests and hexbench.

#include "TVxChecksumAccumulator.h"
#include "TVxChecksumKinds.h"

#include <memory>
#include <string>
#include <vector>

struct TVxChecksumResult {
    TVxChecksum Kind;
    std::string Value; // as shown: see TVxChecksumKinds
};

class TVxChecksumSet {
public:
    // The kinds in any order, each once; Results() lists them in the dialog's order.
    explicit TVxChecksumSet(std::vector<TVxChecksum> kinds);
    ~TVxChecksumSet();
    TVxChecksumSet(TVxChecksumSet &&) noexcept;
    TVxChecksumSet &operator=(TVxChecksumSet &&) noexcept;

    void Update(const uint8_t *data, size_t count);
    // The values of everything given; the set is spent after it.
    std::vector<TVxChecksumResult> Results();

    // The accumulator of one kind (its family's class).
    static std::unique_ptr<TVxChecksumAccumulator> MakeAccumulator(TVxChecksum kind);

private:
    std::vector<TVxChecksum> FKinds;
    std::vector<std::unique_ptr<TVxChecksumAccumulator>> FAccumulators;
};
