// The output folder as the batch run and the open-folder button use it: the typed text made into
// a folder path, with its folders created level by level.
#pragma once

#include <string>

#include "convert/run_rules.h"

// The typed folder normalised and its folders created where they are missing (parent before
// child; a folder that cannot be created, or was there already, is not reported). The result is
// kEmpty, kInvalid or kReady; `folder` holds the normalised text WITHOUT a final backslash
// ("C:/照片//输出" gives "C:\照片\输出", "C:" gives "C:"), or, when not ready, the text as far as
// it was normalised. Nothing is created unless the result is kReady, nor any level whose path
// is longer than CreateDirectoryA takes (MAX_PATH - 12).
OutputFolderPlan CreateOutputFolder(const std::string& typedFolder);

// The batch run's folder: CreateOutputFolder, then a final backslash when ready. The result is
// stored in the run's `outputFolder` (ConversionSettings) whatever it is, so a folder that failed
// its check leaves the partly normalised text there.
OutputFolderResult PrepareOutputFolder(const std::string& typedFolder);
