#include "imaging/gdiplus_api.h"

namespace gdip {
namespace {

Api LoadTable() {
    Api api;
    api.module = LoadLibraryA("gdiplus.dll");
    if (api.module == nullptr) return api;
#define GDIP_BIND(name, ret, params) \
    api.name = reinterpret_cast<ret(WINAPI*) params>(                                 \
        reinterpret_cast<void*>(GetProcAddress(api.module, #name)));
    GDIP_FUNCTIONS(GDIP_BIND)
#undef GDIP_BIND
    return api;
}

}  // namespace

const Api& Table() {
    static const Api api = LoadTable();
    return api;
}

bool Available() {
    static const bool complete = [] {
        const Api& api = Table();
        bool all = api.module != nullptr;
#define GDIP_CHECK(name, ret, params) all = all && api.name != nullptr;
        GDIP_FUNCTIONS(GDIP_CHECK)
#undef GDIP_CHECK
        return all;
    }();
    return complete;
}

}  // namespace gdip
