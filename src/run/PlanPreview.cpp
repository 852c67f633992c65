#include "run/PlanPreview.h"

#include "matching/clsMatching.h"
#include "ports/MessageCatalogue.h"
#include "run/RunPlan.h"
#include "run/StartChecks.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

PlanPreview Refused(MessageId id) {
    PlanPreview preview;
    preview.end = ListingEnd::Refused;
    preview.message = MessageCatalogue::Request(id).text;
    preview.message.replace(u"\r\n"_s, u" "_s);
    return preview;
}

}  // namespace

PreviewVerdict PreviewVerdictOf(Verdict verdict, bool deleteAsked) {
    switch (verdict) {
        case Verdict::FileExists:
            return deleteAsked ? PreviewVerdict::DeleteAndRename : PreviewVerdict::Exists;
        case Verdict::FileExistsDelete:
        case Verdict::DeletedRename:
            return PreviewVerdict::DeleteAndRename;
        case Verdict::Identical:
            return PreviewVerdict::Identical;
        case Verdict::Duplicate:
            return PreviewVerdict::Duplicate;
        case Verdict::OtherTarget:
            return PreviewVerdict::Chain;
        case Verdict::EmptyName:
            return PreviewVerdict::Empty;
        case Verdict::FolderExists:
            return PreviewVerdict::FolderExists;
        case Verdict::TooLong:
            return PreviewVerdict::TooLong;
        case Verdict::Unreadable:
            return PreviewVerdict::Unreadable;
        case Verdict::FolderUnsafe:
            return PreviewVerdict::FolderUnsafe;
        case Verdict::None:
        case Verdict::Rename:
            break;
    }
    return PreviewVerdict::Rename;
}

// The start's checks in the start's order, each refusal as its message.
// Where the start asks (a comma in the word, a second reading) the plan is
// the one a start that goes on renames, and the preview says it will ask.
PlanPreview PreviewPlan(const PreviewRequest& request, const std::atomic<bool>& stop) {
    const FileSystem fs;
    const mdlTools tools(fs, request.folder);
    SettingsInEffect settings = request.settings;
    const StartFolderCheck start =
        CheckStartFolderAndWords(fs, tools, settings.gOperation, request.pathText, request.inputs);
    if (start.refusal) return Refused(start.refusal->message);
    const RunInputs inputs = RunInputsFrom(request.inputs, settings);
    if (inputs.gRunDelete && settings.gDelMode == DeleteMode::ToFolder) {
        const DeleteTargetCheck target = CheckDeleteTarget(fs, tools, settings.gDelTarget);
        if (target.refusal) return Refused(*target.refusal);
        settings.gDelTarget = target.folder;
    }
    const bool repair = inputs.gRunRepair != NameRepair::None;
    if (const std::optional<MessageId> forbidden =
            repair ? std::nullopt : CheckWordCharacters(settings.gOperation, inputs.gReplaceWord))
        return Refused(*forbidden);

    PlanPreview preview;
    preview.commaQuestion = !repair && WordNeedsCommaQuestion(inputs.gReplaceWord);
    if (!repair && settings.gOperation == RenameOperation::Replace) {
        clsMatching matching;
        LoadMatching(matching, inputs, settings.gOperation);
        const ReplaceFlags can = matching.CanReplace();
        if (can.testFlag(ReplaceFlag::Unusable)) return Refused(MessageId::BadReplacePattern);
        preview.twoReadings = can.testFlag(ReplaceFlag::TwoReadings);
    }

    preview.deleteAsked = inputs.gRunDelete;
    preview.plan = MakePlan(PlanRequest{start.start, settings, inputs, request.filter}, stop);
    const TargetStore& targets = preview.plan.targets;
    const qint32 count = targets.Count();
    preview.end = ListingEndOf(preview.plan.complete, stop.load(), count, preview.plan.maxCount);
    if (preview.end == ListingEnd::Stopped) return preview;
    if (preview.end == ListingEnd::Failed) {
        // The start folder itself may have gone while it was listed.
        const bool gone = !fs.FolderExistsFollowingLink(start.start);
        PlanPreview failed =
            Refused(gone ? MessageId::StartFolderMissing : MessageId::ListingFailed);
        failed.end = ListingEnd::Failed;
        return failed;
    }
    for (qint32 i = 0; i < count; ++i) {
        if (IsSkipped(preview.VerdictOf(i)))
            preview.skipped.push_back(i);
        else
            ++preview.renamed;
    }
    return preview;
}

}  // namespace sorvane
