#include "TVxFileSource.h"

#include "TVxError.h"

#include <cerrno>
#include <stdexcept>

TVxFileSource::TVxFileSource(const std::string &path) : FFile(TFileHandle::OpenRead(path))
{
    if (FFile.Kind() != TFileHandle::TKind::Regular)
        throw TVxError(TVxErrorKind::OpenNotRegular, path);
    FSize = FFile.Length();
    if (FSize > kMaxSize)
        throw TVxError(TVxErrorKind::OpenTooLarge, path);
}

void TVxFileSource::Read(int64_t pos, uint8_t *buf, int32_t count)
{
    if (pos < 0 || pos + count > FSize) {
        errno = EIO;
        FFile.Fail("read beyond the end");
    }
    // ReadExact throws when the file got shorter since it was opened.
    FFile.ReadExact(pos, buf, static_cast<size_t>(count));
}
