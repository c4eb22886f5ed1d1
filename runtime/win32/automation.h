// Late-bound calls on automation objects (IDispatch by member name), and the
// variants they take and give: texts as BSTRs, byte blocks as safe arrays of
// bytes. The web browser control and HttpRequest's XMLHTTP object share them.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <vector>

#include "runtime/text.h"

namespace qh {

// A variant cleared when it goes out of scope.
struct ScopedVariant {
    VARIANT v;
    ScopedVariant() { VariantInit(&v); }
    ~ScopedVariant() { VariantClear(&v); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
};

// COM for this thread for as long as a call lasts (a request, a start
// through the shell), unless the thread already runs in an apartment of
// another kind (then that one serves).
class ComScope {
public:
    ComScope() : owned_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (owned_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool owned_;
};

// Variants of the argument lists below; the caller clears them
// (ClearVariants) after the call.
VARIANT TextVariant(const Text& t);
VARIANT BoolVariant(bool value);
VARIANT IntVariant(int value);
// A safe array of the bytes (VT_ARRAY | VT_UI1), as a body or post data.
VARIANT ByteArrayVariant(const Bytes& bytes);
void ClearVariants(std::vector<VARIANT>& variants);

// The bytes of a VT_ARRAY | VT_UI1 variant; the empty block for any other.
Bytes BytesOfVariant(const VARIANT& v);
// The variant as a whole number, or fallback when it has none.
int IntOfVariant(VARIANT& v, int fallback);

// Calls a member of an automation object by name (DISPATCH_METHOD,
// DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT). Arguments are given in their
// natural order; IDispatch takes them reversed.
HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD kind, std::vector<VARIANT>& arguments,
                   VARIANT* result);

}  // namespace qh
