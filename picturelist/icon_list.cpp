#include "picturelist/icon_list.h"

#include <shellapi.h>
#include <olectl.h>

#include <algorithm>
#include <iterator>

#include "app/program_state.h"
#include "forms/runtime/form.h"
#include "imaging/gdip_handles.h"
#include "imaging/gdiplus_api.h"
#include "imaging/gdiplus_session.h"
#include "picturelist/list_rules.h"
#include "shellutil/global_buffer.h"

bool IconList::Destroy() {
    HIMAGELIST list = handle_;
    handle_ = nullptr;
    return list != nullptr && ImageList_Destroy(list) != FALSE;
}

bool IconList::Create(int width, int height, std::optional<UINT> flags) {
    handle_ = ImageList_Create(width, height, flags.value_or(ILC_COLOR32), 0, 0);
    return handle_ != nullptr;
}

bool IconList::Remove(int index) { return ImageList_Remove(handle_, index) != FALSE; }

bool IconList::GetIconSize(int& width, int& height) const {
    return ImageList_GetIconSize(handle_, &width, &height) != FALSE;
}

int IconList::GetImageCount() const { return ImageList_GetImageCount(handle_); }

bool IconList::SetIconSize(int width, int height) {
    return ImageList_SetIconSize(handle_, width, height) != FALSE;
}

bool IconList::SetImageCount(UINT count) {
    return ImageList_SetImageCount(handle_, count) != FALSE;
}

COLORREF IconList::GetBkColor() const { return ImageList_GetBkColor(handle_); }

COLORREF IconList::SetBkColor(COLORREF colour) { return ImageList_SetBkColor(handle_, colour); }

int IconList::AddBitmapFile(const std::string& path) {
    HBITMAP bitmap = LoadBitmapFile(path);
    if (bitmap == nullptr) return -1;
    int index = AddBitmap(bitmap);
    DeleteObject(bitmap);  // the image list keeps its own copy
    return index;
}

int IconList::AddBitmap(HBITMAP bitmap) { return ImageList_Add(handle_, bitmap, nullptr); }

int IconList::AddIconFile(const std::string& path) {
    HICON icon = LoadIconFile(path);
    if (icon == nullptr) return -1;
    int index = AddIcon(icon);
    DestroyIcon(icon);  // the image list keeps its own copy
    return index;
}

int IconList::AddIcon(HICON icon) { return ImageList_AddIcon(handle_, icon); }

int IconList::AddExtensionIcon(const std::string& extension, std::optional<bool> small) {
    const std::string pattern = ExtensionIconPattern(extension);
    SHFILEINFOA info{};
    UINT flags = SHGFI_ICON | SHGFI_USEFILEATTRIBUTES;
    if (small.value_or(false)) flags |= SHGFI_SMALLICON;
    SHGetFileInfoA(pattern.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags);
    if (info.hIcon == nullptr) return -1;
    int index = ImageList_AddIcon(handle_, info.hIcon);
    DestroyIcon(info.hIcon);  // the image list keeps its own copy, drawn at its image size
    return index;
}

bool IconList::ReplaceIcon(HICON icon, int index) {
    return ImageList_ReplaceIcon(handle_, index, icon) != -1;
}

bool IconList::Replace(HBITMAP bitmap, int index) {
    return ImageList_Replace(handle_, index, bitmap, nullptr) != FALSE;
}

bool IconList::WriteBytes(std::vector<std::uint8_t>& bytes) const {
    GlobalBuffer buffer;
    IStream* stream = buffer.Open();
    if (stream == nullptr || handle_ == nullptr) return false;
    if (!ImageList_Write(handle_, stream)) return false;
    bytes = buffer.GetBytes();
    return true;
}

bool IconList::ReadBytes(const std::vector<std::uint8_t>& bytes) {
    GlobalBuffer buffer;
    IStream* stream = buffer.Open(bytes);
    handle_ = stream != nullptr ? ImageList_Read(stream) : nullptr;
    return handle_ != nullptr;
}

bool IconList::WriteTaggedBytes(std::vector<std::uint8_t>& bytes) const {
    std::vector<std::uint8_t> list;
    if (!WriteBytes(list)) return false;
    bytes.assign(std::begin(kIconListTag), std::end(kIconListTag));
    bytes.insert(bytes.end(), list.begin(), list.end());
    return true;
}

bool IconList::ReadTaggedBytes(std::vector<std::uint8_t>& bytes) {
    const std::size_t tagLength = std::size(kIconListTag);
    bytes.erase(bytes.begin(), bytes.begin() + std::min(bytes.size(), tagLength));
    return ReadBytes(bytes);
}

HBITMAP IconList::LoadBitmapFile(const std::string& path) {
    return static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

HICON IconList::LoadIconFile(const std::string& path) {
    return static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
}

namespace {

void ReleasePictureObjectSlot() {
    IUnknown*& slot = TheProgram().pictureObject;
    if (slot != nullptr) {
        slot->Release();
        slot = nullptr;
    }
}

// The picture held in bytes as a GDI bitmap of its own (transparent parts on white); null when
// the bytes hold no picture.
HBITMAP DecodeToBitmap(const std::vector<std::uint8_t>& bytes) {
    if (!EnsureCanvasGdiplus()) return nullptr;
    // Declared before the picture, so the picture is disposed of before its bytes are freed.
    GlobalBuffer buffer;
    IStream* stream = buffer.Open(bytes);
    if (stream == nullptr) return nullptr;
    gdip::GpImage* decoded = nullptr;
    const gdip::Status loaded = gdip::Table().GdipLoadImageFromStream(stream, &decoded);
    GdipImage picture(decoded);
    if (loaded != gdip::kOk || !picture) return nullptr;
    HBITMAP bitmap = nullptr;
    if (gdip::Table().GdipCreateHBITMAPFromBitmap(picture.Handle(), &bitmap, 0xFFFFFFFF) !=
        gdip::kOk) {
        return nullptr;
    }
    return bitmap;
}

}  // namespace

HBITMAP IconList::HandleFromPicture(const std::vector<std::uint8_t>& bytes) {
    // The previous call's picture object goes first; its bitmap with it.
    ReleasePictureObjectSlot();
    HBITMAP bitmap = DecodeToBitmap(bytes);
    if (bitmap == nullptr) return nullptr;
    PICTDESC description{};
    description.cbSizeofstruct = sizeof description;
    description.picType = PICTYPE_BITMAP;
    description.bmp.hbitmap = bitmap;
    IPicture* picture = nullptr;
    if (FAILED(OleCreatePictureIndirect(&description, IID_IPicture, TRUE,
                                        reinterpret_cast<void**>(&picture))) ||
        picture == nullptr) {
        DeleteObject(bitmap);
        return nullptr;
    }
    TheProgram().pictureObject = picture;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle))) return nullptr;
    // GDI handles keep their meaning in 32 bits; widening sign-extends them as Windows does.
    return reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(static_cast<LONG>(handle)));
}

void SetUpFileTypeIcons(forms::Window& mainWindow) {
    IconList& icons = TheProgram().iconList;
    icons.Destroy();
    icons.Create(16, 16);
    icons.SetBkColor(0xFFFFFF);
    // The order gives the icon indices of the list's rows: 0 any file, then 1..5.
    for (const char* extension : {".*", "bmp", "jpg", "gif", "tiff", "png"}) {
        icons.AddExtensionIcon(extension);
    }
    mainWindow["超级列表框1"].Send(LVM_SETIMAGELIST, LVSIL_SMALL,
                                   reinterpret_cast<LPARAM>(icons.GetHandle()));
}
