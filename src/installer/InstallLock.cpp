#include "installer/InstallLock.h"

#include <aclapi.h>
#include <sddl.h>

#ifdef _MSC_VER
#pragma comment(lib, "advapi32.lib")
#endif

namespace {

bool IsVersionAtLeast(const OSVERSIONINFOEXW& v, DWORD major, DWORD minor)
{
    return v.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           (v.dwMajorVersion > major || (v.dwMajorVersion == major && v.dwMinorVersion >= minor));
}

EXPLICIT_ACCESS_W FullAccessFor(PSID sid, TRUSTEE_TYPE type)
{
    EXPLICIT_ACCESS_W access = {};
    access.grfAccessPermissions = GENERIC_ALL;
    access.grfAccessMode = SET_ACCESS;
    access.grfInheritance = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = type;
    access.Trustee.ptstrName = static_cast<LPWSTR>(sid);
    return access;
}

}  // namespace

SharedSecurityAttributes& SharedSecurityAttributes::Get()
{
    static SharedSecurityAttributes instance;
    return instance;
}

SharedSecurityAttributes::SharedSecurityAttributes()
{
    version_.dwOSVersionInfoSize = sizeof(version_);
#ifdef _MSC_VER
#pragma warning(suppress : 4996)
#endif
    ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version_));

    attributes_.nLength = sizeof(attributes_);
    attributes_.bInheritHandle = TRUE;
    attributes_.lpSecurityDescriptor = ::LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH);
    if (!attributes_.lpSecurityDescriptor ||
        !::InitializeSecurityDescriptor(attributes_.lpSecurityDescriptor, SECURITY_DESCRIPTOR_REVISION))
        return;

    SetDiscretionaryAcl();
    if (IsVersionAtLeast(version_, 6, 0))
        SetLowIntegrityLabel();
    usable_ = true;
}

SharedSecurityAttributes::~SharedSecurityAttributes()
{
    usable_ = false;
    if (everyone_)
        ::FreeSid(everyone_);
    if (allPackages_)
        ::FreeSid(allPackages_);
    ::LocalFree(attributes_.lpSecurityDescriptor);
}

void SharedSecurityAttributes::SetDiscretionaryAcl()
{
    SID_IDENTIFIER_AUTHORITY worldAuthority = SECURITY_WORLD_SID_AUTHORITY;
    ::AllocateAndInitializeSid(&worldAuthority, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone_);

    // S-1-15-2-1: every app container may open the lock (Windows 8 and later).
    if (IsVersionAtLeast(version_, 6, 2)) {
        SID_IDENTIFIER_AUTHORITY packageAuthority = {{0, 0, 0, 0, 0, 15}};
        ::AllocateAndInitializeSid(&packageAuthority, 2, 2, 1, 0, 0, 0, 0, 0, 0, &allPackages_);
    }

    EXPLICIT_ACCESS_W entries[2];
    ULONG count = 0;
    if (everyone_)
        entries[count++] = FullAccessFor(everyone_, TRUSTEE_IS_WELL_KNOWN_GROUP);
    if (allPackages_)
        entries[count++] = FullAccessFor(allPackages_, TRUSTEE_IS_GROUP);

    PACL acl = nullptr;
    if (count > 0 && ::SetEntriesInAclW(count, entries, nullptr, &acl) == ERROR_SUCCESS)
        dacl_.Reset(acl);
    // Without any SID, a null DACL: full access for everyone.
    ::SetSecurityDescriptorDacl(attributes_.lpSecurityDescriptor, TRUE, static_cast<PACL>(dacl_.Get()), FALSE);
}

void SharedSecurityAttributes::SetLowIntegrityLabel()
{
    PSECURITY_DESCRIPTOR label = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"S:(ML;;;;;LW)", SDDL_REVISION_1, &label, nullptr))
        return;
    labelDescriptor_.Reset(label);
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL sacl = nullptr;
    if (::GetSecurityDescriptorSacl(label, &present, &sacl, &defaulted) && present)
        ::SetSecurityDescriptorSacl(attributes_.lpSecurityDescriptor, TRUE, sacl, FALSE);
}

SECURITY_ATTRIBUTES* SharedSecurityAttributes::Attributes()
{
    return usable_ && attributes_.lpSecurityDescriptor ? &attributes_ : nullptr;
}

void InstallLock::Release()
{
    if (owned_)
        ::ReleaseMutex(mutex_.Get());
    owned_ = false;
    mutex_.Reset();
}

bool AcquireInstallLock(InstallLock& lock)
{
    lock.Release();
    lock.mutex_.Reset(::CreateMutexW(SharedSecurityAttributes::Get().Attributes(), FALSE, kInstallMutexName));
    if (!lock.mutex_)
        return false;
    // An abandoned mutex is granted to the waiter together with the report of its
    // abandonment, so both results mean that this process now owns it. Waiting
    // again after an abandonment would only raise the recursion count, which a
    // single release would then not undo.
    const DWORD result = ::WaitForSingleObject(lock.mutex_.Get(), INFINITE);
    if (result != WAIT_OBJECT_0 && result != WAIT_ABANDONED) {
        lock.mutex_.Reset();
        return false;
    }
    lock.owned_ = true;
    return true;
}
