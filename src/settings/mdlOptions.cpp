#include "settings/mdlOptions.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>
#include <limits>

#include "matching/clsFileString.h"
#include "platform/MakeFolders.h"
#include "platform/ShownName.h"
#include "platform/TextCodec.h"

namespace sorvane {

namespace {

// A settings file is about a kilobyte; anything far larger is some other
// file handed over by mistake and is not read into memory.
constexpr qint64 kMaxOptionFileSize = 16 * 1024 * 1024;

const QString kNewLine = QStringLiteral("\r\n");

// How a row is made: kind, bounds and default.
struct RowSpec {
    const char16_t* key;
    OptionValueKind valueKind;
    OptionBounds rangeKind;
    qint32 minValue;
    qint32 maxValue;
    qint32 number;
    const char16_t* text;
};

constexpr OptionValueKind kNumber = OptionValueKind::Number;
constexpr OptionValueKind kText = OptionValueKind::Text;
constexpr OptionBounds kBoth = OptionBound::Lower | OptionBound::Upper;

constexpr RowSpec Switch(const char16_t* key, qint32 value) {
    return {key, kNumber, kBoth, 0, 1, value, u""};
}
constexpr RowSpec AtLeast(const char16_t* key, qint32 min, qint32 value) {
    return {key, kNumber, OptionBound::Lower, min, 0, value, u""};
}
constexpr RowSpec Choice(const char16_t* key, qint32 max, qint32 value) {
    return {key, kNumber, kBoth, 0, max, value, u""};
}
constexpr RowSpec Text(const char16_t* key, const char16_t* value) {
    return {key, kText, {}, 0, 0, 0, value};
}

const RowSpec kSystemRows[] = {
    AtLeast(u"最大処理ファイル数", 1, 10000),
    AtLeast(u"最大履歴数", 2, 100),
    Text(u"初期パス", u""),
    Switch(u"エスケープ", 1),
    Switch(u"保存", 1),
    Switch(u"パターン確認", 0),
    Switch(u"パターン表示", 0),
    Switch(u"ログ表示", 1),
    Switch(u"オプション表示", 1),
    Text(u"ログパス", u"Log"),
    Switch(u"自動ログ保存", 0),
    Switch(u"エラー処理簡略化可能", 0),
    Switch(u"復元記録", 1),
    Switch(u"プレビュー表示", 0),
    Switch(u"修復表示", 0),
    Choice(u"修復方法", 2, 0),
    Choice(u"修復文字コード", 1, 0),
};

const RowSpec kFilterRows[] = {
    Switch(u"読み取り専用", 1),
    Switch(u"隠しファイル", 0),
    Switch(u"アーカイブファイル", 1),
    Switch(u"システムファイル", 0),
    Switch(u"属性読み込み", 0),
    Switch(u"絞り込み", 0),
    Switch(u"例外処理", 0),
    Switch(u"重要ファイル除外", 1),
    Text(u"絞り込み文字列", u""),
    Text(u"例外文字列", u""),
    Text(u"重要ファイル", u"*.exe;*.com;*.bat;*.dll"),
};

const RowSpec kMethodRows[] = {
    Switch(u"フォルダ巡回", 1),
    Switch(u"既存ファイル削除", 0),
    Switch(u"フォルダ処理", 0),
    Switch(u"テキストモード", 1),
    Choice(u"置換方法", 2, 0),
    Switch(u"マッチング方法", 0),
    Text(u"検索語", u""),
    Text(u"置換語", u""),
    Choice(u"削除モード", 2, 0),
    Text(u"削除移動先フォルダ", u""),
    Switch(u"エラー処理の簡略化", 0),
    Switch(u"フォルダ内ソート", 1),
};

template <size_t N>
OptionTable MakeTable(const char16_t* name, const RowSpec (&specs)[N]) {
    OptionTable table;
    table.Name = QString::fromUtf16(name);
    for (const RowSpec& spec : specs) {
        OptionRow row;
        row.ValueKind = spec.valueKind;
        row.RangeKind = spec.rangeKind;
        row.Key = QString::fromUtf16(spec.key);
        row.MinValue = spec.minValue;
        row.MaxValue = spec.maxValue;
        table.Rows.append(row);
    }
    return table;
}

template <size_t N>
void SetDefaults(OptionTable& table, const RowSpec (&specs)[N]) {
    for (qsizetype i = 0; i < table.Rows.size() && i < qsizetype(N); ++i) {
        table.Rows[i].Number = specs[i].number;
        table.Rows[i].Text = QString::fromUtf16(specs[i].text);
    }
}

bool IsLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

// ---- Writing

void WriteOptionSection(QString& out, const OptionTable& table) {
    out += u'[' + table.Name + u']' + kNewLine;
    for (const OptionRow& row : table.Rows) {
        if (row.ValueKind == kText) {
            // The line would end inside the value and the rest be read as
            // another line, possibly as another key.
            if (std::any_of(row.Text.cbegin(), row.Text.cend(), IsLineBreak)) continue;
            out += row.Key + u'=' + row.Text + kNewLine;
        } else {
            out += row.Key + u'=' + QString::number(row.Number) + kNewLine;
        }
    }
    out += kNewLine;
}

// ---- Reading

enum LineKind { kEndOfFile = 0, kSectionLine = 1, kKeyLine = 2 };

struct OptionReader {
    QStringList lines;
    qsizetype next = 0;
    QString section;  // after kSectionLine
    QString key;      // after kKeyLine
    QString value;
};

QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (!IsLineBreak(text[i])) continue;
        lines.append(text.sliced(start, i - start));
        if (text[i] == u'\r' && i + 1 < size && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < size) lines.append(text.sliced(start));
    return lines;
}

// The next line that is neither blank nor a comment, without its leading
// spaces (tabs stay); empty at the end of the file.
QString ReadNextLine(OptionReader& reader) {
    while (reader.next < reader.lines.size()) {
        const QString& line = reader.lines[reader.next++];
        qsizetype start = 0;
        while (start < line.size() && line[start] == u' ') ++start;
        if (start == line.size() || line[start] == u'\'') continue;
        return line.sliced(start);
    }
    return {};
}

void SplitSectionLine(OptionReader& reader, const QString& line) {
    const QString inner = line.sliced(1, line.size() - 2);
    const qsizetype bar = inner.indexOf(u'|');
    reader.section = bar < 0 ? inner : inner.first(bar);
}

void SplitKeyLine(OptionReader& reader, const QString& line, qsizetype equals) {
    reader.key = line.first(equals);
    reader.value = line.sliced(equals + 1);
}

LineKind ReadOptionLine(OptionReader& reader) {
    for (;;) {
        const QString line = ReadNextLine(reader);
        if (line.isEmpty()) return kEndOfFile;
        if (line.size() >= 2 && line.startsWith(u'[') && line.endsWith(u']')) {
            SplitSectionLine(reader, line);
            return kSectionLine;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals >= 0) {
            SplitKeyLine(reader, line, equals);
            return kKeyLine;
        }
    }
}

OptionRow* FindOptionKey(OptionTable& table, const QString& key) {
    for (OptionRow& row : table.Rows) {
        if (clsFileString::FileStrComp(row.Key, key, CompareMode::Text) == 0) return &row;
    }
    return nullptr;
}

void SetOptionValue(OptionRow& row, const QString& value) {
    if (row.ValueKind == kText) {
        row.Text = value;
    } else {
        ParseOptionNumber(value, &row.Number);
    }
}

void ClampOptionValues(OptionTable& table) {
    for (OptionRow& row : table.Rows) {
        if (row.RangeKind.testFlag(OptionBound::Lower) && row.Number < row.MinValue)
            row.Number = row.MinValue;
        if (row.RangeKind.testFlag(OptionBound::Upper) && row.Number > row.MaxValue)
            row.Number = row.MaxValue;
    }
}

LineKind ReadOptionKeys(OptionReader& reader, OptionTable& table) {
    LineKind kind = ReadOptionLine(reader);
    while (kind == kKeyLine) {
        if (OptionRow* row = FindOptionKey(table, reader.key)) SetOptionValue(*row, reader.value);
        kind = ReadOptionLine(reader);
    }
    return kind;
}

LineKind ReadOptionSection(OptionReader& reader, const std::array<OptionTable*, 3>& tables) {
    for (OptionTable* table : tables) {
        if (table->Name == reader.section) {
            const LineKind kind = ReadOptionKeys(reader, *table);
            ClampOptionValues(*table);
            return kind;
        }
    }
    return ReadOptionLine(reader);
}

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

OptionRow& OptionTable::Row(int n) {
    Q_ASSERT(n >= 1 && n <= Rows.size());
    return Rows[n - 1];
}

const OptionRow& OptionTable::Row(int n) const {
    Q_ASSERT(n >= 1 && n <= Rows.size());
    return Rows[n - 1];
}

bool ParseOptionNumber(const QString& text, qint32* value) {
    qsizetype i = 0;
    qsizetype end = text.size();
    while (i < end && IsBlank(text[i])) ++i;
    while (end > i && IsBlank(text[end - 1])) --end;

    bool negative = false;
    if (i < end && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';

    // Anything beyond this is out of range whatever the fraction; stopping
    // there keeps the sum from overflowing on long digit strings.
    constexpr qint64 kCap = qint64(std::numeric_limits<qint32>::max()) + 2;
    qint64 whole = 0;
    int digits = 0;
    for (; i < end && text[i] >= u'0' && text[i] <= u'9'; ++i, ++digits) {
        whole = std::min(kCap, whole * 10 + (text[i].unicode() - u'0'));
    }

    // The fraction decides the rounding: above one half up, below down, an
    // exact half to the even neighbour.
    int firstFraction = 0;
    bool restNonZero = false;
    if (i < end && text[i] == u'.') {
        ++i;
        for (int k = 0; i < end && text[i] >= u'0' && text[i] <= u'9'; ++i, ++k, ++digits) {
            const int d = text[i].unicode() - u'0';
            if (k == 0) {
                firstFraction = d;
            } else if (d != 0) {
                restNonZero = true;
            }
        }
    }
    if (i != end || digits == 0) return false;

    if (firstFraction > 5 || (firstFraction == 5 && (restNonZero || whole % 2 == 1))) {
        whole = std::min(kCap, whole + 1);
    }
    const qint64 result = negative ? -whole : whole;
    if (result < std::numeric_limits<qint32>::min() ||
        result > std::numeric_limits<qint32>::max()) {
        return false;
    }
    *value = static_cast<qint32>(result);
    return true;
}

mdlOptions::mdlOptions(MessageBoxPort& messages) : mMessages(messages) {}

void mdlOptions::InitOptions(const QString& iniFolder, const QString& exeName) {
    mIniFolder = iniFolder;
    ExeName = exeName;
    AttrBits = {kAttrReadOnly, kAttrHidden, kAttrArchive, kAttrSystem};
    MakeOptionTables();
    SetDefaultOptions();
}

void mdlOptions::MakeOptionTables() {
    IniFileName = ExeName + QStringLiteral(".ini");
    IniFilePath = FileSystem::BuildPath(mIniFolder, IniFileName);
    SystemOptions = MakeTable(u"システム", kSystemRows);
    FilterOptions = MakeTable(u"絞り込み", kFilterRows);
    MethodOptions = MakeTable(u"処理方法", kMethodRows);
}

void mdlOptions::SetDefaultOptions() {
    SetDefaults(SystemOptions, kSystemRows);
    SetDefaults(FilterOptions, kFilterRows);
    SetDefaults(MethodOptions, kMethodRows);
    LastIniFolder.clear();
}

QString mdlOptions::OptionFileText() const {
    QString out;
    out += QStringLiteral("問題が起きたらこのファイルを削除してください。") + kNewLine;
    out += QStringLiteral("「") + ExeName +
           QStringLiteral(".EXE」を起動後、何もせずに「終了」ボタンで") + kNewLine;
    out += QStringLiteral("終了するとデフォルトの設定ファイルが生成されます。") + kNewLine;
    out += kNewLine;
    WriteOptionSection(out, SystemOptions);
    WriteOptionSection(out, FilterOptions);
    WriteOptionSection(out, MethodOptions);
    return out;
}

void mdlOptions::ShowOpenError(const QString& path) {
    ShowMessage(mMessages, MessageId::SettingsOpenError, {ShownName(path)});
}

bool mdlOptions::SaveOptionFile(const QString& path) {
    // The folder of the program's own file (the user's folder for the
    // program) is made by its first save; other paths must lead to a folder.
    // The new file is complete on disk before it takes the old one's place.
    QSaveFile file(path);
    if (path.isEmpty() || (path == IniFilePath && !MakeFolders(mFs, mIniFolder)) ||
        !file.open(QIODevice::WriteOnly)) {
        ShowOpenError(path);
        return false;
    }
    file.write(EncodeTextFile(OptionFileText()));
    if (!file.commit()) {
        ShowMessage(mMessages, MessageId::SettingsWriteError, {ShownName(path)});
        return false;
    }
    return true;
}

bool mdlOptions::LoadOptionFile(const QString& path, bool reset) {
    if (reset) SetDefaultOptions();
    if (path.isEmpty() || !mFs.Exists(path)) return false;

    // A folder, a dangling link or a pipe (whose opening would wait for a
    // writer) cannot be a settings file.
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || info.size() > kMaxOptionFileSize || !file.open(QIODevice::ReadOnly)) {
        ShowOpenError(path);
        return false;
    }
    OptionReader reader;
    // At the size of the opened file: asking for the largest size allowed
    // would allocate that much for every file.
    reader.lines = SplitLines(DecodeTextFile(file.read(std::min(file.size(), kMaxOptionFileSize))));
    file.close();

    const std::array<OptionTable*, 3> tables{&SystemOptions, &FilterOptions, &MethodOptions};
    LineKind kind = ReadOptionLine(reader);
    while (kind != kEndOfFile) {
        kind = kind == kSectionLine ? ReadOptionSection(reader, tables) : ReadOptionLine(reader);
    }

    LastIniFolder = FileSystem::ParentFolderName(path);
    return true;
}

}  // namespace sorvane
