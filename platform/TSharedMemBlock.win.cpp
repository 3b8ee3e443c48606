#include "TSharedMemBlock.h"

#include "TUserSid.h"
#include "TWideText.h"
#include "TWinError.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
// <windows.h> first: the other system headers build on it.
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

namespace {
[[noreturn]] void Fail(int err, const std::string &what) { throw std::system_error(err, std::generic_category(), what); }

// Owner: this user, so the block is never the administrators' group's when the program runs
// elevated. One ACE, protected from inheritance: nobody else may open it.
PSECURITY_DESCRIPTOR OwnOnlyDescriptor()
{
    const std::wstring sid = TUserSid::ToString(TUserSid::Own());
    if (sid.empty())
        return nullptr;
    const std::wstring sddl = L"O:" + sid + L"D:P(A;;GA;;;" + sid + L")";
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr))
        return nullptr;
    return sd;
}

// A mapping that was there before us: it must be this user's and admit nobody else, as ours
// would. Anyone who could write the search record could plant text in every instance.
bool IsOwnAndClosed(HANDLE mapping)
{
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (::GetSecurityInfo(mapping, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                          nullptr, &dacl, nullptr, &sd) != ERROR_SUCCESS)
        return false;
    // A null DACL admits everyone.
    bool ok = TUserSid::IsOwn(owner) && dacl != nullptr;
    for (DWORD i = 0; ok && i < dacl->AceCount; ++i) {
        void *ace = nullptr;
        if (!::GetAce(dacl, i, &ace)) {
            ok = false;
            break;
        }
        const auto *header = static_cast<const ACE_HEADER *>(ace);
        if (header->AceType == ACCESS_DENIED_ACE_TYPE)
            continue; // denying takes nothing from our privacy
        ok = header->AceType == ACCESS_ALLOWED_ACE_TYPE &&
             TUserSid::IsOwn(&static_cast<const ACCESS_ALLOWED_ACE *>(ace)->SidStart);
    }
    ::LocalFree(sd);
    return ok;
}
} // namespace

std::string TSharedMemBlock::SystemName(const std::string &name) { return "Local\\" + name; }

TSharedMemBlock TSharedMemBlock::Open(const std::string &name, size_t size)
{
    const std::string sys = SystemName(name);
    if (size == 0 || name.empty() || name.find_first_of("/\\") != std::string::npos)
        Fail(EINVAL, sys);
    PSECURITY_DESCRIPTOR sd = OwnOnlyDescriptor();
    if (!sd)
        TWinError::Throw(sys + ": no security descriptor for this user");
    SECURITY_ATTRIBUTES sa = {sizeof sa, sd, FALSE};
    const unsigned long long bytes = std::max(size, kMinBytes);
    const HANDLE mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, &sa, PAGE_READWRITE, DWORD(bytes >> 32),
                                                DWORD(bytes & 0xffffffffu), TWideText::ToWide(sys).c_str());
    const DWORD created = ::GetLastError();
    ::LocalFree(sd);
    if (!mapping)
        TWinError::Throw(created, sys);
    auto fail = [&](int err, const std::string &what) {
        ::CloseHandle(mapping);
        Fail(err, what);
    };
    if (created == ERROR_ALREADY_EXISTS && !IsOwnAndClosed(mapping))
        fail(EACCES, sys + ": held by another user or open to others");

    // The whole mapping: an existing one keeps the size its creator gave it.
    void *view = ::MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0);
    if (!view)
        fail(TWinError::ToErrno(::GetLastError()), sys);
    MEMORY_BASIC_INFORMATION info = {};
    if (::VirtualQuery(view, &info, sizeof info) == 0 || info.RegionSize < size) {
        ::UnmapViewOfFile(view);
        fail(ENOSPC, sys + ": an existing block is smaller than " + std::to_string(size) + " bytes");
    }
    TSharedMemBlock block;
    block.FFile = mapping;
    block.FView = view;
    block.FSize = size;
    block.FSystemName = sys;
    return block;
}

TSharedMemBlock::~TSharedMemBlock() { Close(); }

void TSharedMemBlock::Close() noexcept
{
    if (FView)
        ::UnmapViewOfFile(FView);
    FView = nullptr;
    // The system frees the mapping with its last handle.
    if (FFile != kNoFile)
        ::CloseHandle(FFile);
    FFile = kNoFile;
    FSize = 0;
}

TSharedMemBlock::TSharedMemBlock(TSharedMemBlock &&other) noexcept
    : FFile(other.FFile), FView(other.FView), FSize(other.FSize), FSystemName(std::move(other.FSystemName))
{
    other.FFile = kNoFile;
    other.FView = nullptr;
    other.FSize = 0;
}

TSharedMemBlock &TSharedMemBlock::operator=(TSharedMemBlock &&other) noexcept
{
    if (this != &other) {
        Close();
        FFile = other.FFile;
        FView = other.FView;
        FSize = other.FSize;
        FSystemName = std::move(other.FSystemName);
        other.FFile = kNoFile;
        other.FView = nullptr;
        other.FSize = 0;
    }
    return *this;
}
