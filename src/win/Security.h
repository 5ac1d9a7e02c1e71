#pragma once
// Security for a named kernel object that every process of the machine may open:
// those of other users, of low integrity, and packaged apps.

#include "win/UniqueResource.h"

#include <windows.h>

namespace win {

// Everyone (and, from Windows 8 on, ALL APPLICATION PACKAGES) with full access,
// inherited by objects and containers, and from Vista on a low integrity label.
// A null DACL (full access for everyone) when neither SID can be made.
class SharedObjectSecurity {
public:
    SharedObjectSecurity();
    SharedObjectSecurity(const SharedObjectSecurity&) = delete;
    SharedObjectSecurity& operator=(const SharedObjectSecurity&) = delete;

    // The attributes to create the object with, or null for default security.
    SECURITY_ATTRIBUTES* Attributes();

private:
    void SetDiscretionaryAcl();
    void SetLowIntegrityLabel();

    SECURITY_ATTRIBUTES attributes_ = {};
    UniqueLocal descriptor_;
    UniqueSid everyone_;
    UniqueSid allPackages_;
    UniqueLocal dacl_;
    UniqueLocal labelDescriptor_;  // owns the SACL that the descriptor points into
    bool usable_ = false;
};

}  // namespace win
