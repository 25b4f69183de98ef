#include "convert/output_folder.h"

#include <windows.h>

#include "convert/conversion_settings.h"

namespace {

// The longest folder path CreateDirectoryA takes (room is kept for an 8.3 file name inside).
constexpr std::size_t kLongestFolderPath = MAX_PATH - 12;

}  // namespace

OutputFolderPlan CreateOutputFolder(const std::string& typedFolder) {
    OutputFolderPlan plan = PlanOutputFolder(typedFolder);
    if (plan.result != OutputFolderResult::kReady) return plan;
    for (const std::string& folder : plan.foldersToCreate) {
        // Deeper levels are not attempted: no picture could be written there through the ANSI
        // calls, and where the system would make them all the same, a run would only leave a
        // tree of empty folders behind.
        if (folder.size() > kLongestFolderPath) break;
        // Already there, or not creatable: either way the next level is tried, and a folder that
        // is still missing shows later as pictures that could not be saved.
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    return plan;
}

OutputFolderResult PrepareOutputFolder(const std::string& typedFolder) {
    OutputFolderPlan plan = CreateOutputFolder(typedFolder);
    if (plan.result == OutputFolderResult::kReady) plan.folder += "\\";
    TheConversionSettings().outputFolder = plan.folder;
    return plan.result;
}
