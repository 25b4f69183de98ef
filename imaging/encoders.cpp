#include "imaging/encoders.h"

#include "imaging/conversions.h"
#include "imaging/image_format.h"

#include <objbase.h>

#include <cstring>

CLSID EncoderClsid(int formatCode) {
    CLSID clsid;
    std::memset(&clsid, 0, sizeof clsid);
    const char* text = EncoderClsidText(formatCode);
    if (text == nullptr) return clsid;
    WideText wide = ToWideText(text);
    if (wide.empty() || FAILED(CLSIDFromString(wide.data(), &clsid))) {
        std::memset(&clsid, 0, sizeof clsid);
    }
    return clsid;
}

bool IsNullClsid(const CLSID& clsid) {
    static const CLSID zero = {};
    return std::memcmp(&clsid, &zero, sizeof clsid) == 0;
}
