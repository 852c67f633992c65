#include "run/StartChecks.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

// Characters no name can hold. In a replace "*" and "?" are pattern
// characters and allowed; an insert word is used as it stands.
const QString kReplaceForbidden = u"\\/:\"<>|"_s;
const QString kInsertForbidden = u"\\/:*?\"<>|"_s;

bool ContainsAnyOf(const QString& word, const QString& set) {
    for (const QChar c : word)
        if (set.contains(c)) return true;
    return false;
}

}  // namespace

StartFolderCheck CheckStartFolderAndWords(const FileSystem& fs, const mdlTools& tools,
                                          RenameOperation operation, const QString& pathText,
                                          const RunInputValues& in) {
    const auto refuse = [](MessageId id, RunInputBox box) {
        return StartFolderCheck{QString(), Refusal{id, box}};
    };
    if (pathText.isEmpty()) return refuse(MessageId::StartFolderEmpty, RunInputBox::Path);

    // A file names its folder. A symbolic link to a folder is that folder,
    // never its parent: taking the parent would rename the wrong items.
    const QString path = tools.NormalizePath(pathText);
    QString folder;
    if (fs.FolderExistsFollowingLink(path))
        folder = path;
    else if (fs.FileExists(path))
        folder = FileSystem::ParentFolderName(path);
    const QString start = folder.isEmpty() ? QString() : tools.TruePath(folder);
    if (start.isEmpty()) return refuse(MessageId::StartFolderMissing, RunInputBox::Path);
    // A repair takes no words.
    if (in.repair != NameRepair::None) return {start, std::nullopt};

    const bool replace = operation == RenameOperation::Replace;
    const QString& search = in.searchWord;
    const QString& word = in.replaceWord;
    if (replace && search.isEmpty())
        return refuse(MessageId::SearchWordEmpty, RunInputBox::SearchWord);
    if (replace && in.wholeName && word.isEmpty())
        return refuse(MessageId::ReplaceWordEmpty, RunInputBox::ReplaceWord);
    if (!replace && word.isEmpty())
        return refuse(MessageId::InsertWordEmpty, RunInputBox::ReplaceWord);
    if (!mdlTools::NoControlChars(search))
        return refuse(MessageId::SearchWordControlChars, RunInputBox::SearchWord);
    if (!mdlTools::NoControlChars(word))
        return refuse(MessageId::ReplaceWordControlChars, RunInputBox::ReplaceWord);
    return {start, std::nullopt};
}

RunInputs RunInputsFrom(const RunInputValues& in, const SettingsInEffect& settings) {
    RunInputs r;
    r.gSearchWord = in.searchWord;
    r.gReplaceWord = in.replaceWord;
    r.gRunFolderMode = settings.gFolderMode;
    r.gRunRecursive = in.recursive != CheckBoxValue::Unchecked;
    r.gRunDelete = in.deleteValue != CheckBoxValue::Unchecked && in.deleteEnabled;
    // Only a ticked box compares in text mode; a greyed one compares exactly.
    r.gRunTextMode = in.textMode == CheckBoxValue::Checked;
    r.gRunWholeName = in.wholeName;
    r.gRunSecondReading = false;
    r.gRunQuickList = in.quickList != CheckBoxValue::Unchecked && in.quickListEnabled;
    r.gRunRepair = in.repair;
    return r;
}

DeleteTargetCheck CheckDeleteTarget(const FileSystem& fs, const mdlTools& tools,
                                    const QString& target) {
    if (TrimLeadingSpaces(target).isEmpty()) return {target, MessageId::DeleteTargetEmpty};
    // A relative name typed into the options window is taken from the
    // folder the main window shows.
    const QString folder = tools.NormalizePath(target);
    if (!fs.FolderExistsFollowingLink(folder)) return {folder, MessageId::DeleteTargetMissing};
    return {tools.TruePath(folder), std::nullopt};
}

std::optional<MessageId> CheckWordCharacters(RenameOperation operation, const QString& word) {
    const bool replace = operation == RenameOperation::Replace;
    if (!ContainsAnyOf(word, replace ? kReplaceForbidden : kInsertForbidden)) return std::nullopt;
    return replace ? MessageId::ForbiddenInReplace : MessageId::ForbiddenInInsert;
}

bool WordNeedsCommaQuestion(const QString& word) {
    return word.contains(u',') || word.contains(u';');
}

}  // namespace sorvane
