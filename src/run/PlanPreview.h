#pragma once

#include <QString>
#include <atomic>
#include <vector>

#include "ports/RunInputsPort.h"
#include "rename/RenamePlan.h"
#include "run/ListingEnd.h"
#include "run/SettingsInEffect.h"
#include "selection/FilterSelection.h"

namespace sorvane {

// What a preview is computed from: what a start pressed now would take.
struct PreviewRequest {
    QString folder;    // the folder shown, which relative texts are taken from
    QString pathText;  // the start folder box (開始フォルダ) as it stands
    SettingsInEffect settings;
    RunInputValues inputs;   // the words as they stand in the boxes, the switches
    FilterSelection filter;  // the filter in effect
};

// What the preview says of one target.
enum class PreviewVerdict : quint8 {
    Rename,           // renamed
    Exists,           // a file holds the new name: skipped
    DeleteAndRename,  // a file holds the new name; the start asks to remove it
    Identical,        // the new name is the old one
    Duplicate,        // another target gets the same new name
    Chain,            // the new name is another target's old name
    Empty,            // no usable name
    FolderExists,     // a folder holds the new name
    TooLong,          // the folder's file system cannot hold a name that long
    Unreadable,       // a repair cannot read the name in its code page
    FolderUnsafe,     // the volume's driver would lose the folder's contents
};

// A target's verdict in the preview; deleteAsked: the run asks to remove
// files that hold new names ("既存ファイル削除").
PreviewVerdict PreviewVerdictOf(Verdict verdict, bool deleteAsked);
// Every verdict but a rename is a skip.
constexpr bool IsSkipped(PreviewVerdict v) {
    return v != PreviewVerdict::Rename && v != PreviewVerdict::DeleteAndRename;
}

// A run's plan as the preview shows it.
struct PlanPreview {
    ListingEnd end = ListingEnd::Refused;
    // Refused: the text of the message the start would show; Failed: why
    // the list is not complete. One line.
    QString message;
    // The replace pattern reads two ways: the plan takes the first, and
    // the start will ask.
    bool twoReadings = false;
    // The word holds a comma or a semicolon: the start asks first, and
    // goes on only when told to.
    bool commaQuestion = false;
    bool deleteAsked = false;
    RenamePlan plan;
    qint32 renamed = 0;           // targets that would be renamed
    std::vector<qint32> skipped;  // the skipped targets, in list order

    // A list to show: complete, or cut at the maximum.
    bool HasRows() const { return end == ListingEnd::Done || end == ListingEnd::AtMaximum; }
    PreviewVerdict VerdictOf(qint32 target) const {
        return PreviewVerdictOf(plan.targets.Status(target).verdict(), deleteAsked);
    }
};

// The plan a start pressed now would rename, from the same checks and the
// same plan entry point as a run, with nothing changed on disk: no file,
// log or journal is written. Safe on any thread; stopped (end Stopped)
// as soon as stop turns true.
PlanPreview PreviewPlan(const PreviewRequest& request, const std::atomic<bool>& stop);

}  // namespace sorvane
