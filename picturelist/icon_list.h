// The file-type icons of the picture list: one Win32 image list, filled once at start-up with the
// shell's icons for "any file" and the five picture types, and given to the list view as its
// small image list.
//
// An IconList does not destroy its image list when it is itself destroyed: the list view may
// still show it, and the program's image list lives until the process ends. Destroy does it on
// request. The class also reads and writes image lists as bytes and turns picture bytes into a
// bitmap handle, which the program itself does not need at start-up.
#pragma once

#include <windows.h>
// Before commctrl.h, which declares the image list's stream functions only with IStream known.
#include <objidl.h>
#include <commctrl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace forms {
class Window;
}

class IconList {
  public:
    IconList() = default;
    // Leaves the image list alive (see above).
    ~IconList() = default;
    // Nothing copies the program's one instance; GetHandle and SetHandle share a list on purpose.
    IconList(const IconList&) = delete;
    IconList& operator=(const IconList&) = delete;

    // ImageList_Destroy of the handle; true on success. The handle is forgotten either way, so
    // a list is never destroyed twice.
    bool Destroy();
    // A new, empty image list of that image size (ILC_COLOR32 unless flags are given, initial
    // size and growth 0). It replaces the handle without destroying an earlier list.
    bool Create(int width, int height, std::optional<UINT> flags = std::nullopt);
    bool Remove(int index);
    bool GetIconSize(int& width, int& height) const;
    int GetImageCount() const;
    bool SetIconSize(int width, int height);
    bool SetImageCount(UINT count);
    COLORREF GetBkColor() const;
    // Returns the previous colour.
    COLORREF SetBkColor(COLORREF colour);
    HIMAGELIST GetHandle() const { return handle_; }
    void SetHandle(HIMAGELIST handle) { handle_ = handle; }

    // Each Add returns the new image's index, -1 on failure.
    int AddBitmapFile(const std::string& path);
    int AddBitmap(HBITMAP bitmap);
    int AddIconFile(const std::string& path);
    int AddIcon(HICON icon);
    // The shell's icon of a file type, asked by pattern ("png" and ".png" ask for "*.png", ".*"
    // for "*.*") without touching the disk; the large icon unless `small` is given and true,
    // shrunk to the list's image size. -1 when the shell gives no icon.
    int AddExtensionIcon(const std::string& extension, std::optional<bool> small = std::nullopt);
    bool ReplaceIcon(HICON icon, int index);
    bool Replace(HBITMAP bitmap, int index);

    // The image list as bytes (ImageList_Write); on failure `bytes` keeps its content.
    bool WriteBytes(std::vector<std::uint8_t>& bytes) const;
    // An image list read from bytes; it replaces the handle without destroying the old list,
    // and the handle is null when the bytes hold no image list.
    bool ReadBytes(const std::vector<std::uint8_t>& bytes);
    // As WriteBytes, behind the 8-byte marker 4D 49 54 4C 00 00 00 FF.
    bool WriteTaggedBytes(std::vector<std::uint8_t>& bytes) const;
    // Drops the first 8 bytes of `bytes` itself (whatever they are), then as ReadBytes.
    bool ReadTaggedBytes(std::vector<std::uint8_t>& bytes);

    // LoadImageA of a file; the caller owns the handle; null on failure.
    static HBITMAP LoadBitmapFile(const std::string& path);
    static HICON LoadIconFile(const std::string& path);
    // The bitmap of a picture held in bytes (any format GDI+ reads). The bitmap belongs to an OLE
    // picture object kept in the program's picture-object slot until the next call or the end
    // of the run; the caller must not delete it. Null when the bytes hold no picture.
    static HBITMAP HandleFromPicture(const std::vector<std::uint8_t>& bytes);

  private:
    HIMAGELIST handle_ = nullptr;
};

// The marker in front of tagged image-list bytes.
inline constexpr std::uint8_t kIconListTag[8] = {0x4D, 0x49, 0x54, 0x4C, 0x00, 0x00, 0x00, 0xFF};

// Creation step 8 of the main window: the six file-type icons (any file, bmp, jpg, gif, tiff,
// png, at the positions the list's icon indices name) in the program's IconList, given to
// 超级列表框1 as its small image list.
void SetUpFileTypeIcons(forms::Window& mainWindow);
