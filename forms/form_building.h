// Small builders of control descriptions, shared by the program's form descriptions.
#pragma once

#include <utility>
#include <vector>

#include "forms/runtime/form.h"

namespace forms {

inline ControlDesc Place(const char* name, ControlKind kind, int x, int y, int width, int height,
                         const char* container = nullptr) {
    ControlDesc desc;
    desc.name = name;
    desc.kind = kind;
    desc.x = x;
    desc.y = y;
    desc.width = width;
    desc.height = height;
    desc.container = container;
    return desc;
}

inline ControlDesc WithText(ControlDesc desc, const char* text) {
    desc.text = text;
    return desc;
}

inline ControlDesc WithFlags(ControlDesc desc, unsigned flags) {
    desc.flags |= flags;
    return desc;
}

inline ControlDesc DropDownList(const char* name, int x, int y, int width, int height,
                                std::vector<const char*> items, int selected,
                                const char* container = nullptr) {
    ControlDesc desc = Place(name, ControlKind::ComboList, x, y, width, height, container);
    desc.items = std::move(items);
    desc.selected = selected;
    return desc;
}

}  // namespace forms
