#include "cli/RunJson.h"

#include "cli/JsonWriter.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

QString EndWord(const EndStatus& end, bool ran) {
    switch (end.end) {
        case RunEnd::None:
            return ran ? u"none"_s : u"refused"_s;
        case RunEnd::Done:
            return u"done"_s;
        case RunEnd::ListingStopped:
            return u"listing-stopped"_s;
        case RunEnd::ListingFailed:
            return u"listing-failed"_s;
        case RunEnd::QuestionsStopped:
            return u"questions-stopped"_s;
        case RunEnd::RenameStopped:
            return u"rename-stopped"_s;
        case RunEnd::RenameFailed:
            return u"rename-failed"_s;
    }
    return u"none"_s;
}

QString ListingEndWord(ListingEnd end) {
    switch (end) {
        case ListingEnd::Done:
            return u"done"_s;
        case ListingEnd::Refused:
            return u"refused"_s;
        case ListingEnd::Stopped:
            return u"listing-stopped"_s;
        case ListingEnd::AtMaximum:
            return u"listing-max"_s;
        case ListingEnd::Failed:
            return u"listing-failed"_s;
    }
    return u"none"_s;
}

QString VerdictWord(Verdict verdict) {
    switch (verdict) {
        case Verdict::None:
            return u"none"_s;
        case Verdict::Rename:
            return u"rename"_s;
        case Verdict::FileExists:
            return u"exists"_s;
        case Verdict::FileExistsDelete:
            return u"exists-delete"_s;
        case Verdict::Identical:
            return u"identical"_s;
        case Verdict::Duplicate:
            return u"duplicate"_s;
        case Verdict::OtherTarget:
            return u"chain"_s;
        case Verdict::EmptyName:
            return u"empty"_s;
        case Verdict::FolderExists:
            return u"folder-exists"_s;
        case Verdict::DeletedRename:
            return u"deleted-collision"_s;
    }
    return u"none"_s;
}

QString OutcomeWord(RenameOutcome outcome) {
    switch (outcome) {
        case RenameOutcome::None:
            return u"none"_s;
        case RenameOutcome::Renamed:
            return u"renamed"_s;
        case RenameOutcome::Skipped:
            return u"skipped"_s;
        case RenameOutcome::Failed:
            return u"failed"_s;
        case RenameOutcome::StoppedDeleting:
            return u"stopped-deleting"_s;
        case RenameOutcome::StoppedRenaming:
            return u"stopped-renaming"_s;
    }
    return u"none"_s;
}

// "folder": the start folder of the list, or "" when nothing was listed.
void WriteFolder(JsonWriter& json, const mdlRename& r, bool listed) {
    json.Key(u"folder");
    json.String(listed ? r.BasePath() : QString());
}

void WriteTargets(JsonWriter& json, const mdlRename& r, bool outcomes) {
    json.Key(u"targets");
    json.BeginArray();
    const qint32 count = r.GetTargetCount();
    for (qint32 i = 0; i < count; ++i) {
        const TargetStatus status = r.Status(i);
        json.BeginObject();
        json.Key(u"old");
        json.String(r.OldName(i));
        json.Key(u"new");
        json.String(r.NewName(i));
        json.Key(u"verdict");
        json.Number(qint64(status.verdict()));
        json.Key(u"verdictName");
        json.String(VerdictWord(status.verdict()));
        if (outcomes) {
            json.Key(u"status");
            json.Number(status.Word());
            json.Key(u"renameBits");
            json.Number(qint64(status.renameOutcome()));
            json.Key(u"outcome");
            json.String(OutcomeWord(status.renameOutcome()));
        }
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace

void WriteRunJson(QTextStream& out, const mdlRename& r, const EndStatus& end, bool ran) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key(u"dryRun");
    json.Bool(false);
    WriteFolder(json, r, ran);
    json.Key(u"end");
    json.String(EndWord(end, ran));
    json.Key(u"endStatus");
    json.String(end.Text());
    json.Key(u"complete");
    json.Bool(end.Complete());
    const qint32 matched = r.GetTargetCount();
    const qint32 renamed = r.GetRenamedCount();
    json.Key(u"counts");
    json.BeginObject();
    json.Key(u"matched");
    json.Number(matched);
    json.Key(u"renamed");
    json.Number(renamed);
    json.Key(u"notRenamed");
    json.Number(matched - renamed);
    json.Key(u"deleted");
    json.Number(r.GetDeletedCount());
    json.EndObject();
    WriteTargets(json, r, true);
    json.EndObject();
    json.Finish();
}

void WriteDryRunJson(QTextStream& out, const mdlRename& r, ListingEnd end) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key(u"dryRun");
    json.Bool(true);
    WriteFolder(json, r, end != ListingEnd::Refused);
    json.Key(u"end");
    json.String(ListingEndWord(end));
    json.Key(u"complete");
    json.Bool(end == ListingEnd::Done);
    json.Key(u"counts");
    json.BeginObject();
    json.Key(u"matched");
    json.Number(r.GetTargetCount());
    json.EndObject();
    WriteTargets(json, r, false);
    json.EndObject();
    json.Finish();
}

}  // namespace sorvane
