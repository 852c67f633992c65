#pragma once

#include <sys/types.h>

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "rename/mdlRename.h"

namespace sorvane {

struct EndStatus;

// What a journal says of its run.
enum class JournalState {
    Interrupted,  // the run never said it ended: it was killed or died
    Completed,    // the run ended (done, stopped or failed) and said so
    Restored,     // a restore put back every target it found renamed
};

// The header and the state of one journal file.
struct JournalInfo {
    QString path;    // of the journal file
    QString folder;  // the start folder of the run, ending in "/"
    dev_t device = 0;
    QDateTime time;
    QString itemWord;  // "ファイル" or "フォルダ"
    qint64 pid = 0;
    qint64 planned = 0;  // the renames the plan announced
    qint64 records = 0;  // the renames read
    qint64 damaged = 0;  // lines that could not be read and were left out
    JournalState state = JournalState::Interrupted;
    // What the run did, "" in a journal written before these were kept:
    // replace, front, back or repair, and its words (for a repair, the
    // repair's name and "").
    QString operation, search, replace;
    QString end;                               // the end status its end line gave, "" without one
    qint64 renamed = -1;                       // by its end line; -1 without one
    qint64 restoreTarget = -1, restored = -1;  // by its last restore line; -1 without one
};

// What a run was asked to do, for its journal's header.
struct JournalWords {
    QString operation;  // replace, front, back or repair
    QString search, replace;
};

// The run journal: before the first rename of a run, its plan is written to
// a new file in the journal folder and flushed to disk, so that the renames
// can be undone even when the program or the machine dies in the middle.
// The end of the run and every restore add a line to it.
//
// The file is text, one record per line ending in "\n", its fields
// separated by tabs; in paths the bytes 0x00-0x1F, 0x7F and "%" are
// written as "%" and two hex digits:
//   sorvane journal 1
//   folder  <start folder>          device  <st_dev of the start folder>
//   time    <ISO 8601>              object  ファイル | フォルダ
//   pid     <process id>
//   operation replace | front | back | repair
//   search  <search word or repair> replace <replace or insert word>
//   targets <count>                                      (the header's last line)
//   rename  <st_dev> <st_ino> <old path> <new path>     (in rename order;
//           st_ino 0 where the listing gave no inode number of the item's own)
//   completed renamed=N not-renamed=N deleted=N end=<end status>
//   restored  target=N restored=N time=<ISO 8601>
class RunJournal {
public:
    static constexpr int kKept = 20;  // journals kept; older ones go

    void SetFolder(const QString& folder) { mFolder = folder; }
    const QString& Folder() const { return mFolder; }

    // Writes the plan of the renames the run is about to do (the targets
    // that RenameAll will try) and flushes it to disk. Returns 0, or the
    // errno of what failed (then no journal is left). Nothing is written
    // when no target will be renamed.
    int Begin(const mdlRename& r, bool deleteRequested, const JournalWords& words = {});
    // The journal that belongs to the target list, "" when none.
    const QString& Path() const { return mPath; }
    // The target list came from the journal at path, of which unread lines
    // could not be read: their items cannot be restored.
    void Adopt(const QString& path, qint64 unread) {
        mPath = path;
        mUnread = unread;
    }
    void Forget() {
        mPath.clear();
        mUnread = 0;
    }
    qint64 Unread() const { return mUnread; }

    // The end of the run, with its counts.
    void Completed(const mdlRename& r, const EndStatus& end) const;
    // A restore of the target list, with its counts.
    void Restored(qint32 target, qint32 restored) const;

private:
    int Write(const QString& path, const mdlRename& r, bool deleteRequested, qint64 count,
              const JournalWords& words) const;
    void Prune() const;

    QString mFolder;
    QString mPath;
    qint64 mUnread = 0;
};

// Reads the journal at path: its header and state, and with records its
// renames in the order they were planned. False (error says why) when the
// file cannot be read or is no journal.
bool ReadJournal(const QString& path, JournalInfo& info, std::vector<JournalRecord>* records,
                 QString* error);

// Calls visit with each journal of folder that can be read, the newest
// first, until it returns false.
void ForEachJournal(const QString& folder, const std::function<bool(JournalInfo&)>& visit);
// The journals of folder that can be read, the newest first.
std::vector<JournalInfo> ListJournals(const QString& folder);

// One kept journal as the history of runs lists it: its file, and its
// header and state, or why it cannot be read.
struct HistoryEntry {
    QString path;
    bool readable = false;
    JournalInfo info;  // when readable
    QString error;     // when not
};
// Every journal file of folder, the newest first, those that cannot be read
// included.
std::vector<HistoryEntry> ReadHistory(const QString& folder);
// The state of a run as the history shows it: 終わった, 中断, 強制終了 (no
// end line, and its process is gone), 変換中 (its process is still there),
// 戻した or 一部戻した.
QString HistoryStateText(const JournalInfo& info);
// Whether a restore of the run could still put something back.
bool HistoryRestorable(const JournalInfo& info);

// The newest journal of folder when it belongs to a run that died in the
// middle of its renames: it never said it ended, was not restored, its plan
// was complete on disk (so renames may have begun; a damaged line counts as
// written) and its process is gone.
std::optional<JournalInfo> InterruptedJournal(const QString& folder);

}  // namespace sorvane
