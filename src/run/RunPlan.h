#pragma once

#include <QString>
#include <atomic>

#include "rename/ListProgress.h"
#include "rename/RenamePlan.h"
#include "run/RunInputs.h"
#include "run/SettingsInEffect.h"
#include "selection/FilterSelection.h"

namespace sorvane {

class ProgressWindowPort;
class clsMatching;

// What a rename run's plan is computed from: the start folder (absolute, in
// its on-disk spelling), the settings in effect, the run inputs and what
// the filter selects by.
struct PlanRequest {
    QString startFolder;
    SettingsInEffect settings;
    RunInputs inputs;
    FilterSelection filter;
};

// The target list with its verdicts that a run started with these values
// renames, computed with the plan's own file system, filter and matching:
// the runs, the command line's dry run and a preview on another thread all
// compute it here, and two plans never share anything that changes. The
// progress shows how far it got and can stop it (the plan is then not
// complete); events, when given, let the windows breathe at every folder.
// Nothing on disk changes.
RenamePlan MakePlan(const PlanRequest& request, ListProgress& progress,
                    ProgressWindowPort* events = nullptr);
// The same, shown nowhere, stopped when stop turns true.
RenamePlan MakePlan(const PlanRequest& request, const std::atomic<bool>& stop);

// The matching of a run as its checks load it: the comparison and the
// method, and for a replace the patterns (with the reading the chooser took).
void LoadMatching(clsMatching& matching, const RunInputs& in, RenameOperation operation);

// The list settings of a run, from the settings in effect and its inputs.
RenameListSettings ListSettingsOf(const SettingsInEffect& s, const RunInputs& in);

}  // namespace sorvane
