#include "convert/convert_pictures.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "app/path_rules.h"
#include "app/watermark_text_style.h"
#include "convert/conversion_settings.h"
#include "convert/run_messages.h"
#include "convert/run_rules.h"
#include "convert/run_state.h"
#include "forms/runtime/text.h"
#include "imaging/canvas.h"
#include "imaging/conversions.h"
#include "imaging/flatten.h"
#include "imaging/flatten_rules.h"
#include "imaging/gdi_text.h"
#include "imaging/gdip_brush.h"
#include "imaging/gdip_font.h"
#include "imaging/image_format.h"

namespace {

// The watermark of a run, prepared once before the first picture.
struct RunWatermark {
    GdipFont font;      // text watermark
    GdipBrush brush;    // text watermark
    GdipImage picture;  // picture watermark
    std::int32_t width = 0;
    std::int32_t height = 0;
};

void PrepareWatermark(const ConversionSettings& settings, RunWatermark& mark) {
    if (settings.doTextWatermark) {
        PrepareTextWatermark(mark.width, mark.height, mark.font);
        mark.brush.CreateSolidFill(ToArgb(TheWatermarkTextStyle().textColour, settings.opacity));
    } else if (settings.doPictureWatermark) {
        // The run's checks accepted the path trimmed at both ends; the picture is loaded from
        // that same path, so spaces typed around it do not lose the watermark.
        mark.picture = LoadPictureFile(text::Trim(settings.watermarkText));
        if (mark.picture) PictureSize(mark.picture.Handle(), &mark.width, &mark.height);
    }
}

std::string FullPath(const std::string& path) {
    DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return path;
    std::string full(needed, '\0');
    DWORD length = GetFullPathNameA(path.c_str(), needed, &full[0], nullptr);
    if (length == 0 || length >= needed) return path;
    full.resize(length);
    return full;
}

// The identity of an existing file on its volume, when the file system gives one.
std::optional<BY_HANDLE_FILE_INFORMATION> FileIdentity(const std::string& path) {
    HANDLE file =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = GetFileInformationByHandle(file, &info) != FALSE;
    CloseHandle(file);
    if (!read || (info.nFileIndexHigh == 0 && info.nFileIndexLow == 0)) return std::nullopt;
    return info;
}

// Whether writing `outputPath` would replace the file at `sourcePath`: the same name as Windows
// compares names, or another name of the same existing file (a short name, a link).
bool NamesTheSourceFile(const std::string& sourcePath, const std::string& outputPath) {
    const std::string source = FullPath(sourcePath);
    const std::string output = FullPath(outputPath);
    if (IsSameFilePath(source, output)) return true;
    const auto outputId = FileIdentity(output);
    if (!outputId) return false;
    const auto sourceId = FileIdentity(source);
    return sourceId && sourceId->dwVolumeSerialNumber == outputId->dwVolumeSerialNumber &&
           sourceId->nFileIndexHigh == outputId->nFileIndexHigh &&
           sourceId->nFileIndexLow == outputId->nFileIndexLow;
}

// A bitmap of that size can be made: both sides above 0 and its 32-bit pixels addressable with
// the signed 32-bit stride arithmetic of the imaging layer.
bool CanHoldBitmap(PixelSize size) {
    constexpr std::int64_t kMostBytes = 0x7FFFFFFF;
    return size.width > 0 && size.height > 0 &&
           static_cast<std::int64_t>(size.width) * size.height * 4 <= kMostBytes;
}

// GetTempFileNameA appends a name of up to 14 characters to the folder, within MAX_PATH.
constexpr std::size_t kLongestTemporaryFolder = MAX_PATH - 14;

// An existing file marked read-only. Windows refuses to replace one; the run keeps it as well
// where the mark is not enforced (an administrator's session), so a picture the user protected
// is never written over.
bool IsReadOnlyFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Writes the canvas under a temporary name in the output folder and moves it into place only
// when the encoder succeeded, so that a failed save never leaves a damaged file nor destroys a
// picture already there. The format follows the final name's extension.
bool SaveInPlaceOf(Canvas& canvas, const std::string& outputFolder, const std::string& outputPath) {
    // The ANSI file calls take paths shorter than MAX_PATH. A longer one may come back cut, and
    // a cut name would have the picture written somewhere else: it is not written at all.
    if (outputPath.size() >= MAX_PATH || outputFolder.size() > kLongestTemporaryFolder) {
        return false;
    }
    if (IsReadOnlyFile(outputPath)) return false;
    char temporary[MAX_PATH] = {};
    if (GetTempFileNameA(outputFolder.c_str(), "tuc", 0, temporary) == 0) return false;
    const bool saved =
        canvas.SaveToFile(temporary, FormatCodeForPath(outputPath)) == gdip::kOk &&
        MoveFileExA(temporary, outputPath.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    if (!saved) DeleteFileA(temporary);
    return saved;
}

constexpr std::uint32_t kFlattenBackground = 0xFFFFFF;  // white

void DrawTextWatermark(Canvas& canvas, const ConversionSettings& settings, const RunWatermark& mark,
                       PixelPoint at) {
    const WatermarkTextStyle& style = TheWatermarkTextStyle();
    std::optional<COLORREF> shadowColour, glowColour;
    std::optional<int> shadowOffset, shadowOpacity, glowWidth, glowOpacity;
    if (style.shadow) {
        shadowColour = style.shadowColour;
        shadowOffset = 4;
        shadowOpacity = settings.opacity;
    }
    if (style.glow) {
        glowColour = style.glowColour;
        glowWidth = 2;
        glowOpacity = settings.opacity;
    }
    canvas.DrawEffectText(settings.watermarkText, static_cast<float>(at.x),
                          static_cast<float>(at.y), mark.font, mark.brush, shadowColour,
                          shadowOffset, shadowOpacity, glowColour, glowWidth, glowOpacity);
}

enum class PictureResult { kWritten, kSkippedSource, kLoadFailed, kSaveFailed };

PictureResult ConvertOnePicture(Canvas& canvas, const ConversionSettings& settings,
                                const RunWatermark& mark, const std::string& sourcePath,
                                const std::string& outputPath) {
    if (NamesTheSourceFile(sourcePath, outputPath)) return PictureResult::kSkippedSource;
    GdipImage source = LoadPictureFile(sourcePath);
    if (!source) return PictureResult::kLoadFailed;
    int width = 0, height = 0;
    PictureSize(source.Handle(), &width, &height);
    // A picture too big to be held as pixels cannot be drawn: GDI+ may read only its header when
    // loading it and fail later, unnoticed, when drawing it, which would write a blank picture.
    if (!CanHoldBitmap({width, height})) return PictureResult::kLoadFailed;
    const PixelSize target = TargetSize(width, height, settings);
    PixelPoint at;
    if (mark.width > 0) {
        at = WatermarkPosition(target.width, target.height, mark.width, mark.height,
                               settings.position);
    }
    if (!CanHoldBitmap(target) || !canvas.CreateBlank(target.width, target.height)) {
        return PictureResult::kSaveFailed;
    }
    canvas.DrawImage(source.Handle(), 0, 0, target.width, target.height);
    // Only the drawn pixels are needed from here on: the source goes before the encoder runs.
    DisposePicture(source);
    if (settings.doTextWatermark) {
        DrawTextWatermark(canvas, settings, mark, at);
    } else if (mark.picture) {
        canvas.DrawImage(mark.picture.Handle(), at.x, at.y, mark.width, mark.height);
    }
    // A format without alpha shows the picture as a viewer shows it, over white: its encoder
    // would drop the alpha and bring out what lies under transparent pixels (black).
    if (FormatKeepsNoAlpha(FormatCodeForPath(outputPath))) {
        FlattenOnto(canvas.Image(), kFlattenBackground);
    }
    const bool saved = SaveInPlaceOf(canvas, settings.outputFolder, outputPath);
    canvas.Release();
    return saved ? PictureResult::kWritten : PictureResult::kSaveFailed;
}

std::string FailureLine(PictureResult result, const std::string& fileName) {
    switch (result) {
        case PictureResult::kSkippedSource:
            return SkippedSourceLine(fileName);
        case PictureResult::kLoadFailed:
            return LoadFailedLine(fileName);
        default:
            return SaveFailedLine(fileName);
    }
}

}  // namespace

ConversionOutcome ConvertPictures(forms::Window& window) {
    // A copy: messages handled during the run cannot change the options of the pictures to come.
    const ConversionSettings settings = TheConversionSettings();
    forms::Control list = window["超级列表框1"];
    forms::Control log = window["列表框1"];
    RunWatermark mark;
    PrepareWatermark(settings, mark);
    Canvas canvas;
    ConversionOutcome outcome;
    // The list stays open to the user during the run: its rows are counted again before each.
    for (int row = 0; row < list.RowCount(); ++row) {
        const std::string fileName = list.CellText(row, 0);
        const std::string sourcePath = list.CellText(row, 1) + fileName;
        log.AppendLine(WorkingLine(fileName));
        const std::string outputPath =
            OutputPath(settings.outputFolder, fileName, settings.newExtension);
        forms::ProcessPendingMessages();
        if (!window.Exists() || CloseRequestedDuringRun()) {
            outcome.stopped = true;
            return outcome;
        }
        const PictureResult result =
            ConvertOnePicture(canvas, settings, mark, sourcePath, outputPath);
        if (result != PictureResult::kWritten) {
            ++outcome.picturesNotWritten;
            log.AppendLine(FailureLine(result, fileName));
        }
    }
    log.AppendLine(kRunDoneLine);
    return outcome;
}
