#include "cli/RunJson.h"

#include <iterator>

#include "cli/JsonWriter.h"

namespace sorvane {

namespace {

// The words of each enum, in the order of its values.
constexpr const char16_t* kRunEndWords[] = {u"none",
                                            u"done",
                                            u"listing-stopped",
                                            u"listing-failed",
                                            u"questions-stopped",
                                            u"rename-stopped",
                                            u"rename-failed",
                                            u"journal-failed"};
constexpr const char16_t* kListingEndWords[] = {u"done", u"refused", u"listing-stopped",
                                                u"listing-max", u"listing-failed"};
constexpr const char16_t* kVerdictWords[] = {
    u"none",      u"rename",     u"exists",       u"exists-delete", u"identical",
    u"duplicate", u"chain",      u"empty",        u"folder-exists", u"deleted-collision",
    u"too-long",  u"unreadable", u"folder-unsafe"};
constexpr const char16_t* kOutcomeWords[] = {u"none",   u"renamed",          u"skipped",
                                             u"failed", u"stopped-deleting", u"stopped-renaming"};
static_assert(std::size(kRunEndWords) == size_t(RunEnd::JournalFailed) + 1);
static_assert(std::size(kListingEndWords) == size_t(ListingEnd::Failed) + 1);
static_assert(std::size(kVerdictWords) == size_t(Verdict::FolderUnsafe) + 1);
static_assert(std::size(kOutcomeWords) == size_t(RenameOutcome::StoppedRenaming) + 1);

template <typename Enum, size_t N>
QStringView WordOf(const char16_t* const (&words)[N], Enum value) {
    const size_t i = size_t(value);
    return i < N ? QStringView(words[i]) : QStringView(u"none");
}

// A run that never started has no end of its own: a check refused it.
QStringView EndWord(const EndStatus& end, bool ran) {
    if (end.end == RunEnd::None && !ran) return u"refused";
    return WordOf(kRunEndWords, end.end);
}

// "folder": the start folder of the list, or "" when nothing was listed.
void WriteFolder(JsonWriter& json, const mdlRename& r, bool listed) {
    json.NameMember(u"folder", listed ? r.BasePath() : QString());
}

void WriteTargets(JsonWriter& json, const mdlRename& r, bool outcomes) {
    json.Key(u"targets");
    json.BeginArray();
    const qint32 count = r.GetTargetCount();
    for (qint32 i = 0; i < count; ++i) {
        const TargetStatus status = r.Status(i);
        json.BeginObject();
        json.NameMember(u"old", r.OldName(i));
        json.NameMember(u"new", r.NewName(i));
        json.Member(u"verdict", qint64(status.verdict()));
        json.Member(u"verdictName", WordOf(kVerdictWords, status.verdict()));
        if (outcomes) {
            json.Member(u"status", status.Word());
            json.Member(u"renameBits", qint64(status.renameOutcome()));
            json.Member(u"outcome", WordOf(kOutcomeWords, status.renameOutcome()));
        }
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace

qint32 FailedTargets(const mdlRename& r) {
    qint32 failed = 0;
    for (qint32 i = 0; i < r.GetTargetCount(); ++i)
        failed += r.Status(i).renameOutcome() == RenameOutcome::Failed;
    return failed;
}

bool RunDidAll(const mdlRename& r, const EndStatus& end) {
    return end.Complete() && FailedTargets(r) == 0;
}

void WriteRunJson(QTextStream& out, const mdlRename& r, const EndStatus& end, bool ran) {
    JsonWriter json(out);
    json.BeginObject();
    json.Member(u"dryRun", false);
    WriteFolder(json, r, ran);
    json.Member(u"end", EndWord(end, ran));
    json.Member(u"endStatus", end.Text());
    json.Member(u"complete", RunDidAll(r, end));
    const qint32 matched = r.GetTargetCount();
    const qint32 renamed = r.GetRenamedCount();
    json.Key(u"counts");
    json.BeginObject();
    json.Member(u"matched", matched);
    json.Member(u"renamed", renamed);
    json.Member(u"notRenamed", matched - renamed);
    json.Member(u"deleted", r.GetDeletedCount());
    json.EndObject();
    WriteTargets(json, r, true);
    json.EndObject();
    json.Finish();
}

void WriteDryRunJson(QTextStream& out, const mdlRename& r, ListingEnd end) {
    JsonWriter json(out);
    json.BeginObject();
    json.Member(u"dryRun", true);
    WriteFolder(json, r, end != ListingEnd::Refused);
    json.Member(u"end", WordOf(kListingEndWords, end));
    json.Member(u"complete", end == ListingEnd::Done);
    json.Key(u"counts");
    json.BeginObject();
    json.Member(u"matched", r.GetTargetCount());
    json.EndObject();
    WriteTargets(json, r, false);
    json.EndObject();
    json.Finish();
}

}  // namespace sorvane
