#include "shellutil/automation.h"

#include <cstring>

#include "imaging/conversions.h"

namespace automation {

Variant::Variant(Variant&& other) noexcept {
    std::memcpy(&value_, &other.value_, sizeof value_);
    VariantInit(&other.value_);
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        VariantClear(&value_);
        std::memcpy(&value_, &other.value_, sizeof value_);
        VariantInit(&other.value_);
    }
    return *this;
}

Variant Variant::Text(const std::string& systemText) {
    Variant text;
    WideText wide = ToWideText(systemText);
    text.value_.vt = VT_BSTR;
    text.value_.bstrVal = SysAllocStringLen(wide.empty() ? L"" : wide.data(), CharacterCount(wide));
    // Out of memory: an empty variant rather than a BSTR variant holding null.
    if (text.value_.bstrVal == nullptr) VariantInit(&text.value_);
    return text;
}

Variant Variant::Bool(bool value) {
    Variant flag;
    flag.value_.vt = VT_BOOL;
    flag.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return flag;
}

VARIANT* Variant::Receive() {
    VariantClear(&value_);
    return &value_;
}

std::string ToSystemText(const wchar_t* wide) {
    if (wide == nullptr || *wide == L'\0') return {};
    int length = static_cast<int>(std::wcslen(wide));
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string text(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, length, &text[0], bytes, nullptr, nullptr);
    return text;
}

namespace {

bool Invoke(IDispatch* object, const wchar_t* name, WORD kind, std::vector<Variant>& arguments,
            Variant* result) {
    if (object == nullptr) return false;
    DISPID member = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member))) {
        return false;
    }
    // Invoke takes the arguments last one first.
    std::vector<VARIANT> reversed;
    reversed.reserve(arguments.size());
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) reversed.push_back(it->Get());
    DISPPARAMS parameters{};
    parameters.rgvarg = reversed.empty() ? nullptr : reversed.data();
    parameters.cArgs = static_cast<UINT>(reversed.size());
    Variant ignored;
    EXCEPINFO exception{};
    UINT argumentError = 0;
    HRESULT status = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                                    (result != nullptr ? result : &ignored)->Receive(), &exception,
                                    &argumentError);
    // A member that raised an exception leaves its texts to the caller.
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return SUCCEEDED(status);
}

}  // namespace

bool CallMethod(IDispatch* object, const wchar_t* name, std::vector<Variant> arguments,
                Variant* result) {
    return Invoke(object, name, DISPATCH_METHOD, arguments, result);
}

ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const wchar_t* name) {
    std::vector<Variant> none;
    Variant value;
    if (!Invoke(object, name, DISPATCH_PROPERTYGET, none, &value)) return {};
    const VARIANT& v = value.Get();
    if (v.vt != VT_DISPATCH || v.pdispVal == nullptr) return {};
    v.pdispVal->AddRef();
    return ComPtr<IDispatch>(v.pdispVal);
}

std::string GetTextProperty(IDispatch* object, const wchar_t* name) {
    std::vector<Variant> none;
    Variant value;
    if (!Invoke(object, name, DISPATCH_PROPERTYGET, none, &value)) return {};
    if (value.Get().vt != VT_BSTR) return {};
    return ToSystemText(value.Get().bstrVal);
}

}  // namespace automation
