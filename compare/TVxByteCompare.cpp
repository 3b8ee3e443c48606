#include "TVxByteCompare.h"

#include "TVxByteRuns.h"
#include "TVxCompareReporter.h"
#include "TVxSourceWindow.h"

#include <algorithm>

TVxDiffList TVxByteCompare::Run(TVxByteSource &a, TVxByteSource &b, const TVxCompareOptions &options)
{
    const int64_t sizeA = a.Size(), sizeB = b.Size();
    TVxDiffList list(options.MaxHunks, sizeA, sizeB);
    TVxCompareReporter reporter(options.Progress, sizeA + sizeB);
    const int64_t block = std::max<int64_t>(options.Block, 1);
    TVxSourceWindow winA(a, block), winB(b, block);
    const int64_t common = std::min(sizeA, sizeB);
    for (int64_t pos = 0; pos < common;) {
        const int64_t n = std::min(block, common - pos);
        const uint8_t *pa = winA.Get(pos, n);
        const uint8_t *pb = winB.Get(pos, n);
        if (!TVxByteRuns::AddDifferingRuns(pa, pb, n, pos, pos, list)) {
            reporter.Finished();
            return list;
        }
        pos += n;
        reporter.Passed(2 * pos);
    }
    list.Add({common, sizeA - common, common, sizeB - common});
    reporter.Finished();
    return list;
}
