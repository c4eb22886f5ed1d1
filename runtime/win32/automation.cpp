#include "runtime/win32/automation.h"

#include <cstring>

#include "runtime/win32/system_win32.h"

namespace qh {

VARIANT TextVariant(const Text& t) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(GbkToWide(t).c_str());
    return v;
}

VARIANT BoolVariant(bool value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT IntVariant(int value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT ByteArrayVariant(const Bytes& bytes) {
    VARIANT v;
    VariantInit(&v);
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (array == nullptr) return v;
    void* data = nullptr;
    if (!bytes.empty() && SUCCEEDED(SafeArrayAccessData(array, &data))) {
        std::memcpy(data, bytes.data(), bytes.size());
        SafeArrayUnaccessData(array);
    }
    v.vt = VT_ARRAY | VT_UI1;
    v.parray = array;
    return v;
}

void ClearVariants(std::vector<VARIANT>& variants) {
    for (VARIANT& v : variants) VariantClear(&v);
}

Bytes BytesOfVariant(const VARIANT& v) {
    if (v.vt != (VT_ARRAY | VT_UI1) || v.parray == nullptr || SafeArrayGetDim(v.parray) != 1) return {};
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(v.parray, 1, &lower);
    SafeArrayGetUBound(v.parray, 1, &upper);
    if (upper < lower) return {};
    const auto count = static_cast<std::size_t>(upper - lower + 1);
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(v.parray, &data))) return {};
    const auto* first = static_cast<const std::uint8_t*>(data);
    Bytes bytes(first, first + count);
    SafeArrayUnaccessData(v.parray);
    return bytes;
}

int IntOfVariant(VARIANT& v, int fallback) {
    if (FAILED(VariantChangeType(&v, &v, 0, VT_I4))) return fallback;
    return static_cast<int>(v.lVal);
}

HRESULT CallByName(IDispatch* object, const wchar_t* name, WORD kind, std::vector<VARIANT>& arguments,
                   VARIANT* result) {
    if (object == nullptr) return E_POINTER;
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(hr)) return hr;
    std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    DISPID named = DISPID_PROPERTYPUT;
    if (kind == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &named;
        params.cNamedArgs = 1;
    }
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params, result, nullptr, nullptr);
}

}  // namespace qh
