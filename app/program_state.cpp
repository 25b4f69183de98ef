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
    // The banner's view first: it registers the browser-host window class. The IconList is a
    // member of the program's state and holds no image list until the main window's creation
    // fills it.
    program.htmlView = std::make_unique<HtmlView>();
    program.previewCanvas = std::make_unique<Canvas>();
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
    // The HtmlView first (its window went with the main window). The IconList's image list is not
    // destroyed: it lives until the process ends, as the list view may still hold it.
    TheProgram().htmlView.reset();
    FreeProgramTexts();
    TheProgram().previewCanvas.reset();
    ReleasePictureObject();
}
