#include "run/RunPlan.h"

#include "matching/clsMatching.h"
#include "platform/FileSystem.h"
#include "rename/RenameListBuilder.h"
#include "rename/StopFlagProgress.h"
#include "selection/clsFilter.h"

namespace sorvane {

RenameListSettings ListSettingsOf(const SettingsInEffect& s, const RunInputs& in) {
    RenameListSettings settings;
    settings.folderMode = in.gRunFolderMode;
    settings.recursive = in.gRunRecursive;
    settings.quickList = in.gRunQuickList;
    settings.folderSort = s.gFolderSort;
    settings.operation = s.gOperation;
    settings.insertWord = in.gReplaceWord;
    settings.repair = in.gRunRepair;
    return settings;
}

void LoadMatching(clsMatching& matching, const RunInputs& in, RenameOperation operation) {
    matching.setCmpMode(in.gRunTextMode ? CompareMode::Text : CompareMode::Exact);
    matching.setFileNameMode(in.gRunWholeName ? NameMode::Whole : NameMode::Partial);
    if (operation != RenameOperation::Replace || in.gRunRepair != NameRepair::None) return;
    matching.setMatchPattern(in.gSearchWord);
    matching.setReplacePattern(in.gReplaceWord);
    if (in.gRunSecondReading) matching.SetReplacePatternReverse(true);
}

RenamePlan MakePlan(const PlanRequest& request, ListProgress& progress,
                    ProgressWindowPort* events) {
    const FileSystem fs;
    clsFilter filter(fs);
    filter.SetSelection(request.filter);
    filter.setEventPort(events);
    clsMatching matching;
    LoadMatching(matching, request.inputs, request.settings.gOperation);
    RenameListBuilder builder(fs, matching, filter);
    return builder.Build(request.startFolder, ListSettingsOf(request.settings, request.inputs),
                         request.settings.gMaxTargets, progress);
}

RenamePlan MakePlan(const PlanRequest& request, const std::atomic<bool>& stop) {
    StopFlagProgress progress(stop);
    return MakePlan(request, progress);
}

}  // namespace sorvane
