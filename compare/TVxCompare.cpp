#include "TVxCompare.h"

#include "TVxAlignedCompare.h"
#include "TVxByteCompare.h"

TVxDiffList TVxCompare::Run(TMode mode, TVxByteSource &a, TVxByteSource &b, const TVxCompareOptions &options)
{
    return mode == TMode::Bytes ? TVxByteCompare::Run(a, b, options) : TVxAlignedCompare::Run(a, b, options);
}
