// The typed output folder made ready: a ready folder has a drive, no blank parts, never ends in
// half a double-byte character, ends in a backslash, and lists its folders parent first; the
// batch run's form of the folder is stable when typed again.
#include <cstdint>
#include <string>

#include "app/path_rules.h"
#include "convert/run_rules.h"
#include "forms/runtime/text.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

void CheckReadyFolder(const OutputFolderPlan& plan, const std::string& typed) {
    const std::string& folder = plan.folder;
    // The drive stays the first part.
    FUZZ_CHECK(folder.size() >= 2 && folder[1] == ':' && folder[0] != '\\', typed);
    FUZZ_CHECK(!text::EndsWithLoneLeadByte(folder), typed);
    FUZZ_CHECK(text::Find(folder, "\\\\") < 0, typed);
    FUZZ_CHECK(text::Find(folder, "/") < 0, typed);
    FUZZ_CHECK(!EndsWithBackslash(folder), typed);
    std::size_t previous = 0;
    for (const std::string& created : plan.foldersToCreate) {
        // Each folder to create is the ready folder cut at one of its own backslashes.
        FUZZ_CHECK(created.size() > previous && created.size() <= folder.size(), typed);
        FUZZ_CHECK(folder.compare(0, created.size(), created) == 0, typed);
        FUZZ_CHECK(created.size() == folder.size() ||
                       text::Find(folder, "\\", static_cast<int>(created.size()) + 1) ==
                           static_cast<int>(created.size()) + 1,
                   typed);
        FUZZ_CHECK(!text::EndsWithLoneLeadByte(created), typed);
        previous = created.size();
    }
    FUZZ_CHECK(plan.foldersToCreate.empty() || plan.foldersToCreate.back() == folder, typed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string typed(reinterpret_cast<const char*>(data), size);
    const OutputFolderPlan plan = PlanOutputFolder(typed);
    const OutputFolderPlan prepared = PrepareOutputFolderText(typed);

    FUZZ_CHECK(plan.result == prepared.result, typed);
    FUZZ_CHECK((plan.result == OutputFolderResult::kEmpty) == text::Trim(typed).empty(), typed);
    if (plan.result != OutputFolderResult::kReady) {
        FUZZ_CHECK(plan.foldersToCreate.empty() && plan.folder == prepared.folder, typed);
        return 0;
    }
    CheckReadyFolder(plan, typed);
    FUZZ_CHECK(prepared.folder == plan.folder + "\\", typed);
    FUZZ_CHECK(EndsWithBackslash(prepared.folder), typed);
    FUZZ_CHECK(prepared.foldersToCreate == plan.foldersToCreate, typed);

    // The run's folder typed again is ready and the same folder.
    const OutputFolderPlan again = PrepareOutputFolderText(prepared.folder);
    FUZZ_CHECK(again.result == OutputFolderResult::kReady, typed);
    FUZZ_CHECK(again.folder == prepared.folder, typed);
    FUZZ_CHECK(again.foldersToCreate == prepared.foldersToCreate, typed);
    return 0;
}
