#include "tests/support/picture_list_support.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstring>

#include "forms/runtime/form.h"
#include "imaging/canvas.h"

namespace testing_support {

namespace {

std::wstring Wide(const std::string& gbk) {
    int length = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (length > 0) {
        MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), &wide[0], length);
    }
    return wide;
}

template <typename Char>
HGLOBAL BlockOf(const std::vector<std::basic_string<Char>>& paths, bool wide) {
    std::size_t characters = 1;  // the final NUL
    for (const auto& path : paths) characters += path.size() + 1;
    const std::size_t size = sizeof(DROPFILES) + characters * sizeof(Char);
    HGLOBAL block = GlobalAlloc(GHND, size);
    if (block == nullptr) return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = wide ? TRUE : FALSE;
    auto* text = reinterpret_cast<Char*>(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES));
    for (const auto& path : paths) {
        std::memcpy(text, path.data(), path.size() * sizeof(Char));
        text += path.size() + 1;  // GHND zeroed the separators and the final NUL
    }
    GlobalUnlock(block);
    return block;
}

}  // namespace

HGLOBAL MakeDropBlock(const std::vector<std::string>& paths, bool wide) {
    if (!wide) return BlockOf(paths, false);
    std::vector<std::wstring> widePaths;
    for (const std::string& path : paths) widePaths.push_back(Wide(path));
    return BlockOf(widePaths, true);
}

void DropFiles(HWND window, const std::vector<std::string>& paths, bool wide) {
    HGLOBAL block = MakeDropBlock(paths, wide);
    ASSERT_NE(nullptr, block);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

std::ostream& operator<<(std::ostream& out, const ListRow& row) {
    return out << "{\"" << row.fileName << "\", \"" << row.folder << "\", icon " << row.icon << "}";
}

std::vector<ListRow> RowsOf(HWND listView) {
    std::vector<ListRow> rows;
    const int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        ListRow seen;
        for (int column = 0; column < 2; ++column) {
            std::vector<char> text(4096, '\0');
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = text.data();
            item.cchTextMax = static_cast<int>(text.size());
            SendMessageA(listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
            (column == 0 ? seen.fileName : seen.folder) = text.data();
        }
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        seen.icon = item.iImage;
        rows.push_back(seen);
    }
    return rows;
}

void SelectRows(HWND listView, const std::vector<int>& rows) {
    LVITEMA none{};
    none.stateMask = LVIS_SELECTED;
    none.state = 0;
    SendMessageA(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&none));
    for (int row : rows) {
        LVITEMA chosen{};
        chosen.stateMask = LVIS_SELECTED;
        chosen.state = LVIS_SELECTED;
        SendMessageA(listView, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&chosen));
    }
}

void PressAt(HWND listView, int x, int y) {
    PostMessageA(listView, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(listView, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void PressRow(HWND listView, int row) {
    RECT bounds{};
    bounds.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageA(listView, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(&bounds)))
        << "row " << row << " has no place";
    PressAt(listView, (bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
}

bool WaitFor(const std::function<bool()>& done, DWORD milliseconds) {
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        forms::ProcessPendingMessages();
        if (done()) return true;
        if (GetTickCount64() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

bool WriteSolidPicture(const std::string& path, int width, int height, COLORREF colour) {
    Canvas canvas;
    return canvas.CreateBlank(width, height, colour) && canvas.SaveToFile(path) == 0;
}

std::vector<DWORD> ClientPixels(HWND window, int& width, int& height) {
    UpdateWindow(window);
    RECT client{};
    GetClientRect(window, &client);
    width = client.right;
    height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC windowDc = GetDC(window);
    HDC memoryDc = CreateCompatibleDC(windowDc);
    HBITMAP section = CreateDIBSection(windowDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<DWORD> pixels;
    if (section != nullptr && bits != nullptr) {
        HGDIOBJ old = SelectObject(memoryDc, section);
        BitBlt(memoryDc, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
        GdiFlush();
        const DWORD* start = static_cast<const DWORD*>(bits);
        pixels.assign(start, start + static_cast<std::size_t>(width) * height);
        for (DWORD& pixel : pixels) pixel &= 0xFFFFFF;
        SelectObject(memoryDc, old);
        DeleteObject(section);
    }
    DeleteDC(memoryDc);
    ReleaseDC(window, windowDc);
    return pixels;
}

}  // namespace testing_support
