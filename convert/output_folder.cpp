#include "convert/output_folder.h"

#include <windows.h>

#include "convert/conversion_settings.h"

OutputFolderPlan CreateOutputFolder(const std::string& typedFolder) {
    OutputFolderPlan plan = PlanOutputFolder(typedFolder);
    if (plan.result != OutputFolderResult::kReady) return plan;
    for (const std::string& folder : plan.foldersToCreate) {
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
