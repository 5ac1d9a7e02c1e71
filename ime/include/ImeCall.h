#pragma once
// Calling conventions of everything that crosses a module boundary between the
// installer and the input method's components.
//
// Exports and the log controller's operations use the standard call convention
// (the callee removes its arguments). Interface methods use it too, as COM does:
// a member function's default convention differs between compilers on 32-bit x86
// (thiscall versus cdecl), and naming it keeps both sides of a vtable in step
// whatever compiler built them. On x86-64 there is one convention and the
// keyword is ignored.

#if defined(_WIN32) && !defined(_WIN64)
#define IME_CALL __stdcall
#else
#define IME_CALL
#endif
