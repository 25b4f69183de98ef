#include "imaging/gdiplus_api.h"

#include <type_traits>

namespace gdip {
namespace {

// What a stand-in entry answers: GDI+ was never started.
template <typename Result>
Result NotStarted() {
    if constexpr (std::is_void_v<Result>) {
        return;
    } else {
        return Result(kGdiplusNotInitialized);
    }
}

#define GDIP_STAND_IN(name, ret, params) \
    ret WINAPI StandIn_##name params { return NotStarted<ret>(); }
GDIP_FUNCTIONS(GDIP_STAND_IN)
#undef GDIP_STAND_IN

void BindStandIns(Api& api) {
#define GDIP_BIND_STAND_IN(name, ret, params) api.name = &StandIn_##name;
    GDIP_FUNCTIONS(GDIP_BIND_STAND_IN)
#undef GDIP_BIND_STAND_IN
}

Api LoadTable() {
    Api api;
    api.module = LoadLibraryA("gdiplus.dll");
    bool all = api.module != nullptr;
    if (all) {
#define GDIP_BIND(name, ret, params)                                 \
    api.name = reinterpret_cast<ret(WINAPI*) params>(                \
        reinterpret_cast<void*>(GetProcAddress(api.module, #name))); \
    all = all && api.name != nullptr;
        GDIP_FUNCTIONS(GDIP_BIND)
#undef GDIP_BIND
    }
    // Half a table could start GDI+ and then fail on a missing entry: all or nothing.
    if (!all) BindStandIns(api);
    api.complete = all;
    return api;
}

}  // namespace

const Api& Table() {
    static const Api api = LoadTable();
    return api;
}

bool Available() { return Table().complete; }

}  // namespace gdip
