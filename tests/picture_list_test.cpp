// The picture list of the main window in real windows: files dropped the way the shell drops
// them, files chosen in the open-file dialog, removing the selected rows (button and Delete key),
// clearing, the list view's visibility after each, and the file-type icons with their image list.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "imaging/canvas.h"
#include "picturelist/icon_list.h"
#include "picturelist/picture_list.h"
#include "tests/support/main_window_harness.h"
#include "tests/support/modal_recorder.h"
#include "tests/support/picture_list_support.h"

using testing_support::Click;
using testing_support::DropFiles;
using testing_support::ListRow;
using testing_support::MainWindowHarness;
using testing_support::RowsOf;
using testing_support::ScratchFolder;
using testing_support::SelectRows;

namespace {

const std::string kTrail5C = "淺";  // 9C 5C: its trail byte is '\'

class PictureListTest : public testing::Test {
  protected:
    void SetUp() override {
        testing_support::Recorder().Reset();
        window_ = std::make_unique<MainWindowHarness>(folder_.Path());
        ASSERT_TRUE(window_->Created());
    }

    HWND Main() { return window_->Main().Hwnd(); }
    HWND List() { return (*window_)["超级列表框1"].Hwnd(); }
    bool ListShown() { return (GetWindowLongA(List(), GWL_STYLE) & WS_VISIBLE) != 0; }
    std::vector<ListRow> Rows() { return RowsOf(List()); }
    void Clear() { Click(window_->Form(), "按钮_清空图片"); }

    // Five rows, p0.png to p4.png in C:\pics\.
    void ListFive() {
        DropFiles(Main(), {"C:\\pics\\p0.png", "C:\\pics\\p1.png", "C:\\pics\\p2.png",
                           "C:\\pics\\p3.png", "C:\\pics\\p4.png"});
        ASSERT_EQ(5u, Rows().size());
    }

    ScratchFolder folder_;
    std::unique_ptr<MainWindowHarness> window_;
};

ListRow Row(const std::string& fileName, const std::string& folder, int icon) {
    return ListRow{fileName, folder, icon};
}

// ---------------------------------------------------------------------------------------------
// Drops.

TEST_F(PictureListTest, DropsListThePathsWhoseExtensionTheListTakes) {
    const std::string longFolder = "C:\\" + std::string(288, 'd') + "\\";
    const std::string longPath = longFolder + "long.png";  // 300 bytes
    ASSERT_EQ(300u, longPath.size());
    const std::string chineseFolder = "C:\\照片" + kTrail5C + "\\";
    const std::string wideLongFolder =
        "D:\\" + std::string(60, 'w') + "\\很长的中文文件夹名字" + kTrail5C + "\\";
    struct Case {
        const char* name;
        std::vector<std::string> dropped;
        bool wide;
        std::vector<ListRow> listed;
    };
    const std::vector<Case> cases = {
        {"upper-case JPG is listed with icon 0",
         {"C:\\pics\\A.JPG"},
         false,
         {Row("A.JPG", "C:\\pics\\", 0)}},
        {"tif is listed with icon 0", {"C:\\pics\\b.tif"}, false, {Row("b.tif", "C:\\pics\\", 0)}},
        {"jpeg is not listed", {"C:\\pics\\c.jpeg"}, false, {}},
        {"a folder is not opened", {"C:\\pics"}, false, {}},
        {"a folder named x.png is listed", {"C:\\x.png"}, false, {Row("x.png", "C:\\", 5)}},
        {"five files of which two are text files",
         {"C:\\pics\\a.bmp", "C:\\pics\\n1.txt", "C:\\pics\\b.gif", "C:\\pics\\n2.txt",
          "D:\\c.png"},
         false,
         {Row("a.bmp", "C:\\pics\\", 1), Row("b.gif", "C:\\pics\\", 3), Row("c.png", "D:\\", 5)}},
        {"the last dot lies in a folder name", {"C:\\v1.2\\photo"}, false, {}},
        {"a 300-byte path is listed whole", {longPath}, false, {Row("long.png", longFolder, 5)}},
        {"a character with the trail byte 5C splits nothing",
         {chineseFolder + kTrail5C + ".jpg", "C:\\" + kTrail5C + "\\" + kTrail5C},
         false,
         {Row(kTrail5C + ".jpg", chineseFolder, 2)}},
        {"a UTF-16 drop of long Chinese paths arrives whole",
         {wideLongFolder + "第一张图片" + kTrail5C + ".tiff", "C:\\图\\二.gif"},
         true,
         {Row("第一张图片" + kTrail5C + ".tiff", wideLongFolder, 4), Row("二.gif", "C:\\图\\", 3)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        ASSERT_TRUE(Rows().empty());
        DropFiles(Main(), c.dropped, c.wide);
        EXPECT_EQ(c.listed, Rows());
        EXPECT_EQ(!c.listed.empty(), ListShown()) << "shown exactly when it holds rows";
    }
}

TEST_F(PictureListTest, DropsAddToTheRowsAlreadyListedAndKeepDuplicates) {
    DropFiles(Main(), {"C:\\pics\\a.jpg"});
    DropFiles(Main(), {"C:\\pics\\c.jpeg"});
    DropFiles(Main(), {"C:\\pics\\a.jpg", "C:\\pics\\b.png"});
    const std::vector<ListRow> expected = {Row("a.jpg", "C:\\pics\\", 2),
                                           Row("a.jpg", "C:\\pics\\", 2),
                                           Row("b.png", "C:\\pics\\", 5)};
    EXPECT_EQ(expected, Rows());
    EXPECT_TRUE(ListShown());
}

TEST_F(PictureListTest, ADropOfNothingListedLeavesTheListHidden) {
    DropFiles(Main(), {"C:\\pics\\note.txt", "C:\\pics"});
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(ListShown());
}

// ---------------------------------------------------------------------------------------------
// The open-file dialog.

TEST_F(PictureListTest, AddButtonListsTheChosenFilesInTheDialogsOrder) {
    auto& recorder = testing_support::Recorder();
    recorder.openFileAnswers.push_back({"C:\\a\\note.txt", "C:\\pics\\x.jpg", "C:\\pics\\x.jpg"});
    Click(window_->Form(), "按钮_添加图片");

    ASSERT_EQ(1u, recorder.openFileRequests.size());
    const forms::OpenFileRequest& request = recorder.openFileRequests[0];
    EXPECT_EQ(Main(), request.owner);
    EXPECT_EQ("选择要转换的图片", request.title);
    EXPECT_EQ("图片文件(*.jpg;*.bmp;*.gif;*.png)|*.jpg;*.bmp;*.gif;*.png|所有文件(*.*)|*.*",
              request.filter);
    EXPECT_EQ(1, request.filterIndex);
    EXPECT_TRUE(request.multiSelect);
    EXPECT_EQ(DWORD(OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY), request.flags);

    const std::vector<ListRow> expected = {Row("note.txt", "C:\\a\\", 0),
                                           Row("x.jpg", "C:\\pics\\", 2),
                                           Row("x.jpg", "C:\\pics\\", 2)};
    EXPECT_EQ(expected, Rows()) << "any file chosen is listed, the same one twice as two rows";
    EXPECT_TRUE(ListShown());
}

TEST_F(PictureListTest, CancellingTheDialogAddsNothing) {
    Click(window_->Form(), "按钮_添加图片");  // no scripted answer: cancelled
    EXPECT_EQ(1u, testing_support::Recorder().openFileRequests.size());
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(ListShown());
}

// ---------------------------------------------------------------------------------------------
// Removing and clearing.

TEST_F(PictureListTest, RemovingDeletesTheSelectedRowsAndKeepsTheOthersInOrder) {
    enum class By { Button, DeleteKey, OtherKey };
    struct Case {
        const char* name;
        std::vector<int> selected;
        By by;
        std::vector<int> left;  // of the five rows listed first
    };
    const std::vector<Case> cases = {
        {"rows 1 and 3 by the button", {1, 3}, By::Button, {0, 2, 4}},
        {"rows 1 and 3 by the Delete key", {1, 3}, By::DeleteKey, {0, 2, 4}},
        {"the first and the last row", {0, 4}, By::Button, {1, 2, 3}},
        {"nothing selected, Delete key", {}, By::DeleteKey, {0, 1, 2, 3, 4}},
        {"nothing selected, button", {}, By::Button, {0, 1, 2, 3, 4}},
        {"another key removes nothing", {1, 3}, By::OtherKey, {0, 1, 2, 3, 4}},
        {"every row", {0, 1, 2, 3, 4}, By::DeleteKey, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clear();
        ListFive();
        const std::vector<ListRow> five = Rows();
        SelectRows(List(), c.selected);
        switch (c.by) {
            case By::Button:
                Click(window_->Form(), "按钮_删除图片");
                break;
            case By::DeleteKey:
                SendMessageA(List(), WM_KEYDOWN, VK_DELETE, 1);
                break;
            case By::OtherKey:
                SendMessageA(List(), WM_KEYDOWN, VK_BACK, 1);
                SendMessageA(List(), WM_KEYDOWN, 'D', 1);
                break;
        }
        forms::ProcessPendingMessages();
        std::vector<ListRow> expected;
        for (int row : c.left) expected.push_back(five[row]);
        EXPECT_EQ(expected, Rows());
        EXPECT_EQ(!c.left.empty(), ListShown()) << "shown exactly when it holds rows";
    }
}

TEST_F(PictureListTest, RemovingTheOnlyRowHidesTheListAndAddingShowsItAgain) {
    DropFiles(Main(), {"C:\\pics\\one.gif"});
    ASSERT_TRUE(ListShown());
    SelectRows(List(), {0});
    Click(window_->Form(), "按钮_删除图片");
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(ListShown());

    testing_support::Recorder().openFileAnswers.push_back({"C:\\pics\\two.bmp"});
    Click(window_->Form(), "按钮_添加图片");
    EXPECT_EQ((std::vector<ListRow>{Row("two.bmp", "C:\\pics\\", 1)}), Rows());
    EXPECT_TRUE(ListShown());
}

TEST_F(PictureListTest, ClearingRemovesEveryRowAndHidesTheList) {
    struct Case {
        const char* name;
        bool listFirst;
    };
    for (const Case& c : {Case{"a list of five", true}, Case{"an empty list", false}}) {
        SCOPED_TRACE(c.name);
        if (c.listFirst) ListFive();
        Clear();
        EXPECT_TRUE(Rows().empty());
        EXPECT_FALSE(ListShown());
    }
}

// ---------------------------------------------------------------------------------------------
// The list view's set-up and the file-type icons.

TEST_F(PictureListTest, ListViewIsBlackOnWhiteAndSharesTheProgramsIconList) {
    EXPECT_EQ(RGB(255, 255, 255), COLORREF(SendMessageA(List(), LVM_GETBKCOLOR, 0, 0)));
    EXPECT_EQ(RGB(255, 255, 255), COLORREF(SendMessageA(List(), LVM_GETTEXTBKCOLOR, 0, 0)));
    EXPECT_EQ(RGB(0, 0, 0), COLORREF(SendMessageA(List(), LVM_GETTEXTCOLOR, 0, 0)));
    const LONG style = GetWindowLongA(List(), GWL_STYLE);
    EXPECT_NE(0, style & LVS_SHAREIMAGELISTS) << "the image list outlives the list view";
    const DWORD ex = static_cast<DWORD>(SendMessageA(List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(0u, ex & (LVS_EX_ONECLICKACTIVATE | LVS_EX_TWOCLICKACTIVATE | LVS_EX_TRACKSELECT))
        << "no selection by hovering";

    HIMAGELIST small =
        reinterpret_cast<HIMAGELIST>(SendMessageA(List(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(nullptr, small);
    EXPECT_EQ(TheProgram().iconList.GetHandle(), small);
}

TEST_F(PictureListTest, StartUpFillsSixWhiteBacked16By16Icons) {
    IconList& icons = TheProgram().iconList;
    EXPECT_EQ(6, icons.GetImageCount());
    int width = 0, height = 0;
    ASSERT_TRUE(icons.GetIconSize(width, height));
    EXPECT_EQ(16, width);
    EXPECT_EQ(16, height);
    EXPECT_EQ(RGB(255, 255, 255), icons.GetBkColor());
    IMAGEINFO info{};
    ASSERT_TRUE(ImageList_GetImageInfo(icons.GetHandle(), 0, &info));
    BITMAP bitmap{};
    ASSERT_TRUE(GetObjectA(info.hbmImage, sizeof bitmap, &bitmap));
    EXPECT_EQ(32, bitmap.bmBitsPixel) << "32-bit colour";
    EXPECT_EQ(nullptr, info.hbmMask) << "no mask";
}

TEST_F(PictureListTest, TaggedBytesRoundTripTheImageList) {
    const IconList& icons = TheProgram().iconList;
    std::vector<std::uint8_t> tagged;
    ASSERT_TRUE(icons.WriteTaggedBytes(tagged));
    ASSERT_GT(tagged.size(), 8u);
    EXPECT_EQ((std::vector<std::uint8_t>{0x4D, 0x49, 0x54, 0x4C, 0x00, 0x00, 0x00, 0xFF}),
              std::vector<std::uint8_t>(tagged.begin(), tagged.begin() + 8));
    std::vector<std::uint8_t> plain;
    ASSERT_TRUE(icons.WriteBytes(plain));

    IconList read;
    ASSERT_TRUE(read.ReadTaggedBytes(tagged));
    EXPECT_EQ(plain, tagged) << "the variable lost its marker";
    EXPECT_EQ(6, read.GetImageCount());
    int width = 0, height = 0;
    ASSERT_TRUE(read.GetIconSize(width, height));
    EXPECT_EQ(16, width);
    EXPECT_EQ(16, height);
    EXPECT_NE(icons.GetHandle(), read.GetHandle()) << "a list of its own";
    EXPECT_TRUE(read.Destroy());
    EXPECT_EQ(nullptr, read.GetHandle());
}

TEST_F(PictureListTest, BytesThatHoldNoImageListReadAsNothing) {
    std::vector<std::uint8_t> whole;
    ASSERT_TRUE(TheProgram().iconList.WriteBytes(whole));
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<std::uint8_t> garbage(300);
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 7);
    const std::vector<Case> cases = {
        {"no bytes", {}},
        {"garbage", garbage},
        {"the header alone", std::vector<std::uint8_t>(whole.begin(), whole.begin() + 28)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IconList read;
        EXPECT_FALSE(read.ReadBytes(c.bytes));
        EXPECT_EQ(nullptr, read.GetHandle());
        std::vector<std::uint8_t> shortTagged = {0x4D, 0x49, 0x54};
        EXPECT_FALSE(read.ReadTaggedBytes(shortTagged));
        EXPECT_TRUE(shortTagged.empty());
    }
}

TEST_F(PictureListTest, WritingAListThatDoesNotExistKeepsTheBytes) {
    IconList none;
    std::vector<std::uint8_t> bytes = {1, 2, 3};
    EXPECT_FALSE(none.WriteBytes(bytes));
    EXPECT_FALSE(none.WriteTaggedBytes(bytes));
    EXPECT_EQ((std::vector<std::uint8_t>{1, 2, 3}), bytes);
}

TEST_F(PictureListTest, HandleFromPictureGivesABitmapOwnedByThePictureObjectSlot) {
    Canvas canvas;
    ASSERT_TRUE(canvas.CreateBlank(7, 5, RGB(200, 10, 20)));
    const std::vector<std::uint8_t> png = canvas.SaveToBytes(5);
    ASSERT_FALSE(png.empty());

    HBITMAP bitmap = IconList::HandleFromPicture(png);
    ASSERT_NE(nullptr, bitmap);
    EXPECT_NE(nullptr, TheProgram().pictureObject);
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(bitmap, sizeof info, &info));
    EXPECT_EQ(7, info.bmWidth);
    EXPECT_EQ(5, info.bmHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF pixel = GetPixel(dc, 3, 2);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_NEAR(200, GetRValue(pixel), 2);
    EXPECT_NEAR(10, GetGValue(pixel), 2);
    EXPECT_NEAR(20, GetBValue(pixel), 2);

    // The next call releases the picture object, and its bitmap with it.
    const std::vector<std::uint8_t> noPicture = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'};
    EXPECT_EQ(nullptr, IconList::HandleFromPicture(noPicture));
    EXPECT_EQ(nullptr, TheProgram().pictureObject);
    EXPECT_EQ(0u, GetObjectType(bitmap)) << "the previous bitmap was released";
}

}  // namespace
