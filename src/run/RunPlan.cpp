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
    return settings;
}

RenamePlan MakePlan(const PlanRequest& request, ListProgress& progress,
                    ProgressWindowPort* events) {
    const FileSystem fs;
    clsFilter filter(fs);
    filter.SetSelection(request.filter);
    filter.setEventPort(events);
    // As the run's checks load the patterns: the comparison and the method
    // first; only a replace has patterns.
    const RunInputs& in = request.inputs;
    clsMatching matching;
    matching.setCmpMode(in.gRunTextMode ? CompareMode::Text : CompareMode::Exact);
    matching.setFileNameMode(in.gRunWholeName ? NameMode::Whole : NameMode::Partial);
    if (request.settings.gOperation == RenameOperation::Replace) {
        matching.setMatchPattern(in.gSearchWord);
        matching.setReplacePattern(in.gReplaceWord);
        if (in.gRunSecondReading) matching.SetReplacePatternReverse(true);
    }
    RenameListBuilder builder(fs, matching, filter);
    return builder.Build(request.startFolder, ListSettingsOf(request.settings, in),
                         request.settings.gMaxTargets, progress);
}

RenamePlan MakePlan(const PlanRequest& request, const std::atomic<bool>& stop) {
    StopFlagProgress progress(stop);
    return MakePlan(request, progress);
}

}  // namespace sorvane
