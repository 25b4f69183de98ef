// Late-bound calls on automation objects: members reached by name through IDispatch
// (GetIDsOfNames, then Invoke), as the browser's HTML document offers them. Every call on a null
// object, or on a member the object does not know, does nothing and reports failure.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "shellutil/com_ptr.h"

namespace automation {

// Owner of one VARIANT, cleared with VariantClear; moved, never copied.
class Variant {
  public:
    Variant() { VariantInit(&value_); }
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;

    // A BSTR holding the system text converted to UTF-16.
    static Variant Text(const std::string& systemText);
    static Variant Bool(bool value);

    const VARIANT& Get() const { return value_; }
    VARIANT& Get() { return value_; }
    // Clears the value and gives the slot to a call that fills it.
    VARIANT* Receive();

  private:
    VARIANT value_;
};

// UTF-16 text (a BSTR, say) to system text; null gives "".
std::string ToSystemText(const wchar_t* wide);

// Calls the method `name` with `arguments`, first argument first. True when the call succeeded;
// `result`, when given, receives what it returned.
bool CallMethod(IDispatch* object, const wchar_t* name, std::vector<Variant> arguments = {},
                Variant* result = nullptr);

// The property `name` as an object; empty when it cannot be had or holds no object.
ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const wchar_t* name);

// The property `name` as system text; "" when it cannot be had or holds no text.
std::string GetTextProperty(IDispatch* object, const wchar_t* name);

}  // namespace automation
