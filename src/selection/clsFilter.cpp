#include "selection/clsFilter.h"

#include "ports/ProgressWindowPort.h"

namespace sorvane {

namespace {

// The attribute bits the check boxes stand for: read-only, hidden, system, archive.
constexpr int kAttrBoxes = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;

const FileSystem& DefaultFileSystem() {
    static const FileSystem fs;
    return fs;
}

// A list made only of "*" and ";" (or nothing) lets every name through.
bool OnlyStarsAndSemicolons(const QString& text) {
    for (const QChar c : text)
        if (c != u'*' && c != u';') return false;
    return true;
}

// An empty path is the working directory, which the listing takes as "".
QString WithSlash(const QString& path) {
    return path.isEmpty() || path.endsWith(u'/') ? path : path + u'/';
}

}  // namespace

clsFilter::clsFilter() : clsFilter(DefaultFileSystem()) {}

clsFilter::clsFilter(const FileSystem& fs) : mFs(&fs) {
    UpdateMask();
}

void clsFilter::setAttr(int mask) {
    mAttr = mask;
    UpdateMask();
}

void clsFilter::setAttrOr(bool on) {
    mAttrOr = on;
    UpdateMask();
}

FilterSelection clsFilter::Selection() const {
    return {mAttr, mAttrOr, mMatchOther, mPatterns, IsFile, IsFolder};
}

void clsFilter::SetSelection(const FilterSelection& selection) {
    mAttr = selection.attr;
    mAttrOr = selection.attrOr;
    UpdateMask();
    mMatchOther = selection.matchOther;
    mPatterns = selection.patterns;
    IsFile = selection.isFile;
    IsFolder = selection.isFolder;
}

void clsFilter::UpdateMask() {
    mMask = mAttrOr ? mAttr : mAttr ^ kAttrBoxes;
}

bool clsFilter::PassesAttributes(int a) const {
    return mAttrOr ? (a & mMask) != 0 : (a & mMask) == 0;
}

bool clsFilter::IsMatchOther(int index) const {
    return mMatchOther[Side(index)];
}

void clsFilter::setIsMatchOther(int index, bool on) {
    mMatchOther[Side(index)] = on;
}

QString clsFilter::Patterns(int index) const {
    return mPatterns[Side(index)];
}

void clsFilter::setPatterns(int index, const QString& text) {
    mPatterns[Side(index)] = text;
}

// Returns the list's active flag. Matchers are rebuilt only when the text
// changed since the last build, because a run lists every folder anew.
// There is no cap on the number of patterns: dropping the patterns beyond a
// fixed table would let through names the user meant to exclude.
int clsFilter::Compile(size_t side) {
    const QString& text = mPatterns[side];
    if (OnlyStarsAndSemicolons(text)) {
        mCompiled[side] = text;
        mActive[side] = 0;
        return 0;
    }
    if (text == mCompiled[side]) return mActive[side];
    mCompiled[side] = text;
    mActive[side] = 1;

    QStringView body(text);
    if (body.endsWith(u';')) body.chop(1);
    const QList<QStringView> pieces = body.split(u';', Qt::KeepEmptyParts);
    mCount[side] = int(pieces.size());
    for (const QStringView piece : pieces) {
        if (piece.isEmpty() || piece == u"*") {
            mActive[side] = 0;
            return 0;
        }
    }

    std::vector<clsMatching>& matchers = mMatchers[side];
    const size_t count = pieces.size();
    if (matchers.size() > 2 * count) matchers.resize(count);
    while (matchers.size() < count) {
        clsMatching& m = matchers.emplace_back();
        m.setFileNameMode(NameMode::Whole);
        m.setCmpMode(CompareMode::Text);
    }
    for (size_t k = 0; k < count; ++k) matchers[k].setMatchPattern(pieces[k].toString());
    return 1;
}

bool clsFilter::MatchesAny(size_t side, QStringView name) {
    std::vector<clsMatching>& matchers = mMatchers[side];
    const size_t count = size_t(mCount[side]);
    for (size_t k = 0; k < count; ++k)
        if (matchers[k].IsMatch(name)) return true;
    return false;
}

// includeMode 1: a name must match the include list; 0: every name goes on.
// excludeMode 1: a name matching the exclude list is dropped; 0: the exclude
// list matches everything, so nothing is added; 2: no exclude list.
bool clsFilter::Passes(QStringView name, int includeMode, int excludeMode) {
    if (excludeMode == 0) return false;
    if (includeMode == 1 && !MatchesAny(0, name)) return false;
    return excludeMode != 1 || !MatchesAny(1, name);
}

// Where list item index (past the leading files) lies in the listing.
clsFilter::Pick clsFilter::Picked(int index) const {
    const quint32 at = mPicked[size_t(index - mLeading)];
    return Pick{(at & kPickedFolder) != 0, qsizetype(at & ~kPickedFolder)};
}

QStringView clsFilter::PickedName(int index) const {
    const Pick pick = Picked(index);
    return pick.folder ? QStringView(mListing.folders[pick.position].name)
                       : mListing.FileName(pick.position);
}

ino_t clsFilter::ListInode(int index) const {
    if (index < mLeading) return mListing.FileInode(index);
    const Pick pick = Picked(index);
    return pick.folder ? mListing.folders[pick.position].inode : mListing.FileInode(pick.position);
}

void clsFilter::ReleaseNames() {
    std::vector<quint32>().swap(mPicked);
    mLeading = 0;
    mListing.ReleaseFiles();
}

PackedNames clsFilter::TakeListNames() {
    PackedNames names;
    if (mPicked.empty() && mLeading == mListing.FileCount()) {
        names = mListing.TakeFiles();
    } else {
        for (int i = 0; i < ListCount(); ++i) names.Append(ListName(i));
    }
    ReleaseNames();
    return names;
}

int clsFilter::MakeFileList(const QString& Path) {
    if (mEvents) mEvents->ProcessEvents();
    const int includeMode = mMatchOther[0] ? Compile(0) : 0;
    const int excludeMode = mMatchOther[1] ? Compile(1) : 2;
    mPicked.clear();
    mLeading = 0;
    mListing.Clear();
    if (!IsFile && !IsFolder) return 0;

    const QString folder = WithSlash(Path);
    const int error = mFs->ReadFolder(folder, FileMask(), IsFile, ListNames, mListing);
    if (IsFile) {
        // While every file passes, the list is the listing's own files,
        // named by no position of their own: a large folder is then held
        // once. The first file left out starts the positions.
        bool all = true;
        for (qsizetype i = 0; i < mListing.FileCount(); ++i) {
            const QStringView name = mListing.FileName(i);
            const bool passes = (!mAttrOr || KeptByAttributes(folder, name)) &&
                                Passes(name, includeMode, excludeMode);
            if (all && passes) {
                ++mLeading;
            } else if (all) {
                all = false;
            } else if (passes) {
                mPicked.push_back(quint32(i));
            }
        }
        if (error != 0) return error;
    }
    if (IsFolder) {
        for (qsizetype i = 0; i < mListing.folders.size(); ++i) {
            const FolderEntry& entry = mListing.folders[i];
            if (PassesAttributes(entry.attributes) && Passes(entry.name, includeMode, excludeMode))
                mPicked.push_back(kPickedFolder | quint32(i));
        }
    }
    return error;
}

// "No attribute outside the ticked ones" is exactly what the listing's mask
// tests; with read-only ticked it needs no stat per entry. "Only items with
// one of them" takes every file and then tests each one's attributes.
int clsFilter::FileMask() const {
    return mAttrOr ? kAttrBoxes : mAttr & kAttrBoxes;
}

void clsFilter::KeepAttributes(QStringList& files, const QString& folder) const {
    QStringList kept;
    kept.reserve(files.size());
    for (const QString& name : std::as_const(files))
        if (KeptByAttributes(folder, name)) kept.append(name);
    files = std::move(kept);
}

bool clsFilter::KeptByAttributes(const QString& folder, QStringView name) const {
    QString path = folder;
    path += name;
    const int a = mFs->GetAttributes(path);
    return a >= 0 && !(a & kAttrFolder) && PassesAttributes(a);
}

int clsFilter::sGetFiles(QStringList& FList, const QString& Path, int* error) {
    const QString folder = WithSlash(Path);
    int err = 0;
    FList = mFs->Files(folder, FileMask(), &err);
    if (mAttrOr) KeepAttributes(FList, folder);
    if (error) *error = err;
    return int(FList.size());
}

int clsFilter::sGetFoldersFSO(QStringList& FList, const QString& Path, int* error) {
    int err = 0;
    const QList<FolderEntry> folders = mFs->SubFolders(Path, &err);
    FList.clear();
    FList.reserve(folders.size());
    for (const FolderEntry& entry : folders)
        if (PassesAttributes(entry.attributes)) FList.append(entry.name);
    if (error) *error = err;
    return int(FList.size());
}

}  // namespace sorvane
