#include "app/program_state.h"

#include "app/watermark_text_style.h"
#include "convert/conversion_settings.h"

const char* const kSettingsFileName = "图象转换.Bin";

ProgramState& TheProgram() {
    static ProgramState state;
    return state;
}

void ConstructProgramObjects() {
    ProgramState& program = TheProgram();
    // 1. The banner's HtmlView (registers the browser-host window class).  Built with the banner.
    // 2. The IconList, holding no image list yet.                           Built with the icons.
    // 3. PreviewCanvas, empty.                                              Built with the preview.
    // 4. The empty picture-object slot.
    program.pictureObject = nullptr;
}

namespace {

void FreeProgramTexts() {
    ProgramState& program = TheProgram();
    std::string().swap(program.runDirectory);
    std::string().swap(program.settingsPath);
    std::string().swap(TheWatermarkTextStyle().face);
    ConversionSettings& settings = TheConversionSettings();
    std::string().swap(settings.outputFolder);
    std::string().swap(settings.newExtension);
    std::string().swap(settings.watermarkText);
    std::string().swap(settings.position);
    // The preview's last path and the font window's preview text are freed with their owners.
}

void ReleasePictureObject() {
    ProgramState& program = TheProgram();
    if (program.pictureObject) {
        program.pictureObject->Release();
        program.pictureObject = nullptr;
    }
}

}  // namespace

void CleanUpAtEndOfRun() {
    // 1. The HtmlView and 2. the IconList are destroyed here once they exist (the icon list's
    //    image list is not destroyed: the list view may still hold it).
    FreeProgramTexts();
    // 4. PreviewCanvas is destroyed here once it exists.
    ReleasePictureObject();
}
