#include "fontwindow/font_settings_window.h"

#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/settings_values.h"
#include "app/watermark_text_style.h"
#include "convert/conversion_settings.h"
#include "fontwindow/font_settings_rules.h"
#include "fontwindow/preview_rules.h"
#include "forms/font_form.h"
#include "imaging/gdi_handles.h"
#include "forms/runtime/text.h"

namespace {

// The size list's item shown when no item begins with the stored size: "12".
constexpr int kFallbackSizeIndex = 5;

const char* const kStyleButtons[] = {"单选框1", "单选框2", "单选框3", "单选框4"};
const char* const kEffectBoxes[] = {"选择框1", "选择框2", "选择框3", "选择框4"};

// Every typeface EnumFontsA reports goes into the list, none filtered out.
int CALLBACK AddFaceToList(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM list) {
    SendMessageA(reinterpret_cast<HWND>(list), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(font->lfFaceName));
    return 1;
}

// The index of the checked style button, 0 .. 3, tested in order; -1 when none is checked.
int CheckedStyle(forms::Window& form) {
    for (int i = 0; i < 4; ++i) {
        if (form[kStyleButtons[i]].Checked()) return i;
    }
    return -1;
}

std::string SelectedItem(forms::Control list) { return list.ItemText(list.Selected()); }

void CopyItems(forms::Control from, forms::Control to) {
    for (int i = 0; i < from.ItemCount(); ++i) to.AddItem(from.ItemText(i));
    to.SetSelected(from.Selected());
}

}  // namespace

FontSettingsWindow::FontSettingsWindow(forms::Window& mainWindow)
    : main_(mainWindow), form_(forms::FontFormDesc()) {
    BindHandlers();
}

FontSettingsWindow::~FontSettingsWindow() { form_.Destroy(); }

void FontSettingsWindow::ShowModal() { form_.ShowModal(main_.Hwnd()); }

bool FontSettingsWindow::Create() { return form_.Create(main_.Hwnd()); }

void FontSettingsWindow::BindHandlers() {
    form_.OnCreated([this] { RunCreationSequence(); });
    // The four change handlers only render the preview; the other controls reach them through
    // the redirections made at creation.
    form_.OnItemSelected("组合框1", [this] { RenderPreview(); });
    form_.OnClick("单选框1", [this] { RenderPreview(); });
    form_.OnClick("选择框1", [this] { RenderPreview(); });
    form_.OnColourChanged("颜色选择器1", [this] { RenderPreview(); });
    form_.OnClick("按钮1", [this] { StoreAndClose(); });
    form_.OnClick("按钮2", [this] { form_.Destroy(); });
}

// The creation steps, in the order they must run.
void FontSettingsWindow::RunCreationSequence() {
    FillFaceList();
    SelectStoredFaceAndSize();
    ShowStoredColoursAndStyle();
    RedirectChangeEvents();
    previewText_ = FontPreviewText(main_["编辑框_水印文字"].Text());
    CopyMainWindowLists();
    RenderPreview();
}

void FontSettingsWindow::FillFaceList() {
    forms::Control faces = form_["组合框1"];
    faces.ClearItems();
    HWND list = faces.Hwnd();
    WindowDc dc(list);
    // A null face name reports one font per installed typeface; the list's sort style orders
    // the names.
    EnumFontsA(dc.Get(), nullptr, &AddFaceToList, reinterpret_cast<LPARAM>(list));
}

// The first item that begins with the stored value, ignoring letter case. A face that no item
// begins with leaves the face list without a selection; a size that none begins with shows "12".
void FontSettingsWindow::SelectStoredFaceAndSize() {
    const WatermarkTextStyle& stored = TheWatermarkTextStyle();
    form_["组合框1"].SelectPrefix(stored.face);
    forms::Control sizes = form_["组合框2"];
    sizes.SelectPrefix(text::Decimal(stored.size));
    if (sizes.Selected() < 0) sizes.SetSelected(kFallbackSizeIndex);
}

void FontSettingsWindow::ShowStoredColoursAndStyle() {
    const WatermarkTextStyle& stored = TheWatermarkTextStyle();
    form_["颜色选择器1"].SetColour(stored.textColour);
    // The loaded code lies within 1..4; anything else checks no button.
    if (stored.style >= 1 && stored.style <= 4) {
        form_[kStyleButtons[stored.style - 1]].SetChecked(true);
    }
    form_["选择框1"].SetChecked(stored.strikeout);
    form_["选择框2"].SetChecked(stored.underline);
    form_["选择框3"].SetChecked(stored.glow);
    form_["选择框4"].SetChecked(stored.shadow);
    form_["颜色选择器2"].SetColour(stored.glowColour);
    form_["颜色选择器3"].SetColour(stored.shadowColour);
}

void FontSettingsWindow::RedirectChangeEvents() {
    for (const char* list : {"组合框2", "组合框3", "组合框4"}) form_.Redirect(list, "组合框1");
    for (int i = 1; i < 4; ++i) {
        form_.Redirect(kStyleButtons[i], kStyleButtons[0]);
        form_.Redirect(kEffectBoxes[i], kEffectBoxes[0]);
    }
    for (const char* picker : {"颜色选择器2", "颜色选择器3"}) form_.Redirect(picker, "颜色选择器1");
}

void FontSettingsWindow::CopyMainWindowLists() {
    CopyItems(main_["组合框_水印位置"], form_["组合框3"]);
    CopyItems(main_["组合框_水印透明"], form_["组合框4"]);
}

FontPreviewRequest FontSettingsWindow::PreviewRequest() {
    FontPreviewRequest request;
    request.text = previewText_;
    request.face = SelectedItem(form_["组合框1"]);
    request.sizeItem = SelectedItem(form_["组合框2"]);
    request.positionItem = SelectedItem(form_["组合框3"]);
    request.transparencyItem = SelectedItem(form_["组合框4"]);
    request.checkedStyle = CheckedStyle(form_);
    request.strikeout = form_["选择框1"].Checked();
    request.underline = form_["选择框2"].Checked();
    request.glow = form_["选择框3"].Checked();
    request.shadow = form_["选择框4"].Checked();
    request.textColour = form_["颜色选择器1"].Colour();
    request.glowColour = form_["颜色选择器2"].Colour();
    request.shadowColour = form_["颜色选择器3"].Colour();
    return request;
}

void FontSettingsWindow::RenderPreview() {
    FontPreviewRequest request = PreviewRequest();
    // The next batch run replaces both with the main window's values when it starts.
    ConversionSettings& run = TheConversionSettings();
    run.position = request.positionItem;
    run.opacity = FontPreviewOpacity(request);
    std::vector<std::uint8_t> picture =
        DrawFontPreview(request, LayOutFontPreview(request), FontPreviewBackground());
    form_["图片框1"].SetPictureBytes(picture);
}

// OK: the program's font settings, then the settings file, then the main window, then close.
void FontSettingsWindow::StoreAndClose() {
    const std::string& settingsPath = TheProgram().settingsPath;
    FontWindowChoices choices;
    choices.faceItem = SelectedItem(form_["组合框1"]);
    choices.sizeItem = SelectedItem(form_["组合框2"]);
    choices.textColour = form_["颜色选择器1"].Colour();
    choices.storedStyleText = ReadSetting(settingsPath, kFontSection, "字体字型", "2");
    choices.checkedStyle = CheckedStyle(form_);
    choices.strikeout = form_["选择框1"].Checked();
    choices.underline = form_["选择框2"].Checked();
    choices.glow = form_["选择框3"].Checked();
    choices.shadow = form_["选择框4"].Checked();
    choices.glowColour = form_["颜色选择器2"].Colour();
    choices.shadowColour = form_["颜色选择器3"].Colour();

    WatermarkTextStyle& style = TheWatermarkTextStyle();
    style = StyleFromChoices(choices);
    for (const SettingsEntry& entry : FontSettingsEntries(style))
        WriteSetting(settingsPath, kFontSection, entry.key.c_str(), entry.value);

    main_["组合框_水印位置"].SetSelected(form_["组合框3"].Selected());
    main_["组合框_水印透明"].SetSelected(form_["组合框4"].Selected());
    main_["编辑框5"].SetText(FontDisplayText(style.face, style.size));
    form_.Destroy();
}

void OpenFontSettingsWindow(forms::Window& mainWindow) {
    FontSettingsWindow window(mainWindow);
    window.ShowModal();
}
