#include "TVxFileSource.h"

#include <stdexcept>

TVxFileSource::TVxFileSource(const std::string &path) : FFile(TFileHandle::OpenRead(path))
{
    if (FFile.Kind() != TFileHandle::TKind::Regular)
        throw std::runtime_error("compare: not a regular file: " + path);
    FSize = FFile.Length();
    if (FSize > kMaxSize)
        throw std::runtime_error("compare: file too large: " + path);
}

void TVxFileSource::Read(int64_t pos, uint8_t *buf, int32_t count)
{
    if (pos < 0 || pos + count > FSize)
        throw std::runtime_error("compare: read beyond the end of " + FFile.Path());
    // ReadExact throws when the file got shorter since it was opened.
    FFile.ReadExact(pos, buf, static_cast<size_t>(count));
}
