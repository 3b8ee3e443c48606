#include "TVxChecksumSet.h"

#include "TVxCrcAccumulator.h"
#include "TVxDigestAccumulator.h"
#include "TVxSumAccumulator.h"

#include <algorithm>

namespace {
// Small enough to stay in the second-level cache while every accumulator reads it.
constexpr size_t kSlice = 64 * 1024;
} // namespace

TVxChecksumSet::TVxChecksumSet(std::vector<TVxChecksum> kinds) : FKinds(std::move(kinds))
{
    std::sort(FKinds.begin(), FKinds.end());
    FKinds.erase(std::unique(FKinds.begin(), FKinds.end()), FKinds.end());
    for (TVxChecksum k : FKinds)
        FAccumulators.push_back(MakeAccumulator(k));
}

TVxChecksumSet::~TVxChecksumSet() = default;
TVxChecksumSet::TVxChecksumSet(TVxChecksumSet &&) noexcept = default;
TVxChecksumSet &TVxChecksumSet::operator=(TVxChecksumSet &&) noexcept = default;

std::unique_ptr<TVxChecksumAccumulator> TVxChecksumSet::MakeAccumulator(TVxChecksum kind)
{
    if (TVxChecksumKinds::IsDigest(kind))
        return std::make_unique<TVxDigestAccumulator>(kind);
    if (kind >= TVxChecksum::Sum8)
        return std::make_unique<TVxSumAccumulator>(kind);
    return std::make_unique<TVxCrcAccumulator>(kind);
}

void TVxChecksumSet::Update(const uint8_t *data, size_t count)
{
    if (FAccumulators.size() == 1) {
        FAccumulators[0]->Update(data, count);
        return;
    }
    for (size_t at = 0; at < count; at += kSlice) {
        const size_t n = std::min(kSlice, count - at);
        for (auto &a : FAccumulators)
            a->Update(data + at, n);
    }
}

std::vector<TVxChecksumResult> TVxChecksumSet::Results()
{
    std::vector<TVxChecksumResult> results;
    for (size_t i = 0; i < FKinds.size(); ++i)
        results.push_back({FKinds[i], FAccumulators[i]->Result()});
    return results;
}
