#include "win/Security.h"

#include "win/WindowsVersion.h"

#include <aclapi.h>
#include <sddl.h>

#ifdef _MSC_VER
#pragma comment(lib, "advapi32.lib")
#endif

namespace win {

namespace {

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

UniqueSid MakeSid(SID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD first, DWORD second)
{
    UniqueSid sid;
    ::AllocateAndInitializeSid(&authority, count, first, second, 0, 0, 0, 0, 0, 0, sid.Receive());
    return sid;
}

}  // namespace

SharedObjectSecurity::SharedObjectSecurity()
{
    attributes_.nLength = sizeof(attributes_);
    attributes_.bInheritHandle = TRUE;
    descriptor_.Reset(::LocalAlloc(LPTR, SECURITY_DESCRIPTOR_MIN_LENGTH));
    if (!descriptor_ || !::InitializeSecurityDescriptor(descriptor_.Get(), SECURITY_DESCRIPTOR_REVISION))
        return;
    attributes_.lpSecurityDescriptor = descriptor_.Get();

    SetDiscretionaryAcl();
    if (IsWindowsVersionAtLeast(6, 0))
        SetLowIntegrityLabel();
    usable_ = true;
}

void SharedObjectSecurity::SetDiscretionaryAcl()
{
    const SID_IDENTIFIER_AUTHORITY worldAuthority = SECURITY_WORLD_SID_AUTHORITY;
    everyone_ = MakeSid(worldAuthority, 1, SECURITY_WORLD_RID, 0);
    // S-1-15-2-1: every app container may open the object (Windows 8 and later).
    if (IsWindowsVersionAtLeast(6, 2)) {
        const SID_IDENTIFIER_AUTHORITY packageAuthority = {{0, 0, 0, 0, 0, 15}};
        allPackages_ = MakeSid(packageAuthority, 2, 2, 1);
    }

    EXPLICIT_ACCESS_W entries[2];
    ULONG count = 0;
    if (everyone_)
        entries[count++] = FullAccessFor(everyone_.Get(), TRUSTEE_IS_WELL_KNOWN_GROUP);
    if (allPackages_)
        entries[count++] = FullAccessFor(allPackages_.Get(), TRUSTEE_IS_GROUP);

    PACL acl = nullptr;
    if (count > 0 && ::SetEntriesInAclW(count, entries, nullptr, &acl) == ERROR_SUCCESS)
        dacl_.Reset(acl);
    // Without any SID, a null DACL: full access for everyone.
    ::SetSecurityDescriptorDacl(descriptor_.Get(), TRUE, static_cast<PACL>(dacl_.Get()), FALSE);
}

void SharedObjectSecurity::SetLowIntegrityLabel()
{
    PSECURITY_DESCRIPTOR label = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"S:(ML;;;;;LW)", SDDL_REVISION_1, &label, nullptr))
        return;
    labelDescriptor_.Reset(label);
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL sacl = nullptr;
    if (::GetSecurityDescriptorSacl(label, &present, &sacl, &defaulted) && present)
        ::SetSecurityDescriptorSacl(descriptor_.Get(), TRUE, sacl, FALSE);
}

SECURITY_ATTRIBUTES* SharedObjectSecurity::Attributes() { return usable_ ? &attributes_ : nullptr; }

}  // namespace win
