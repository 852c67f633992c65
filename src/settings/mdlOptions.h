#pragma once

#include <QFlags>
#include <QList>
#include <QString>
#include <array>

#include "platform/FileSystem.h"
#include "ports/MessageBoxPort.h"
#include "settings/OptionRows.h"

namespace sorvane {

// What a setting holds (ValueKind).
enum class OptionValueKind {
    Number = 0,
    Text = 1,
};

// The bounds of a setting that are enforced after a file is read
// (RangeKind): none, either or both.
enum class OptionBound {
    Lower = 1,
    Upper = 2,
};
Q_DECLARE_FLAGS(OptionBounds, OptionBound)
Q_DECLARE_OPERATORS_FOR_FLAGS(OptionBounds)

// One setting: its key in the settings file, its kind, the bounds enforced
// after a file is read, and its value. Only the value ever changes.
struct OptionRow {
    OptionValueKind ValueKind = OptionValueKind::Number;
    OptionBounds RangeKind;
    QString Key;
    qint32 Number = 0;  // the value when ValueKind is Number
    QString Text;       // the value when ValueKind is Text
    qint32 MinValue = 0;
    qint32 MaxValue = 0;
};

// One section of the settings: its name and its rows, numbered from 1.
class OptionTable {
public:
    QString Name;
    QList<OptionRow> Rows;

    OptionRow& Row(int n);
    const OptionRow& Row(int n) const;
    qint32 Num(int n) const { return Row(n).Number; }
    const QString& Text(int n) const { return Row(n).Text; }
    void SetNum(int n, qint32 value) { Row(n).Number = value; }
    void SetText(int n, const QString& text) { Row(n).Text = text; }
};

// A number of the settings file: optional blanks (space, tab) around an
// optional sign, decimal digits and an optional fraction, which is rounded
// to the nearest whole number, ties to the even one ("2.5" -> 2, "3.5" -> 4).
// False (and *value untouched) for anything else, for empty text and for a
// result outside 32 bits.
bool ParseOptionNumber(const QString& text, qint32* value);

// The settings table and the settings file.
//
// The file is written in code page 932 with CR LF line ends (UTF-8 behind a
// byte-order mark when some text has no code there). It is written to a
// temporary file beside it that then replaces it, so an interrupted or
// failed write leaves the previous file whole.
//
// Reading accepts CR LF, LF and a lone CR as line ends. Keys are matched
// with only A-Z folded onto a-z, as text mode compares: full-width and
// half-width forms stay different, so "最大処理ﾌｧｲﾙ数" is not a key.
class mdlOptions {
public:
    explicit mdlOptions(MessageBoxPort& messages);
    mdlOptions(const mdlOptions&) = delete;
    mdlOptions& operator=(const mdlOptions&) = delete;

    // iniFolder: the folder of the settings file (the program folder, or the
    // user's folder for the program); exeName: the executable's file name
    // without extension, which names the file.
    void InitOptions(const QString& iniFolder, const QString& exeName);
    void MakeOptionTables();
    void SetDefaultOptions();

    // True when the whole file was written. The folder of IniFilePath is made
    // when missing, the folder of any other path must exist. A text value
    // holding a line break cannot be kept on its line, so its row is left out
    // of the file (reading it back leaves that row's previous value).
    bool SaveOptionFile(const QString& path);
    // True when the file existed and could be read.
    bool LoadOptionFile(const QString& path, bool reset);
    // The message of a settings file that cannot be opened ("ファイルオープンエラー").
    void ShowOpenError(const QString& path);

    // A row by its name: Num(SystemRow::MaxTargets), SetText(MethodRow::SearchWord, ...).
    template <typename Row>
    qint32 Num(Row row) const {
        return TableOf(row).Num(int(row));
    }
    template <typename Row>
    const QString& Text(Row row) const {
        return TableOf(row).Text(int(row));
    }
    template <typename Row>
    void SetNum(Row row, qint32 value) {
        TableOf(row).SetNum(int(row), value);
    }
    template <typename Row>
    void SetText(Row row, const QString& text) {
        TableOf(row).SetText(int(row), text);
    }

    OptionTable SystemOptions;
    OptionTable FilterOptions;
    OptionTable MethodOptions;
    std::array<int, 4> AttrBits{};
    QString IniFileName;
    QString IniFilePath;
    QString LastIniFolder;
    QString ExeName;

private:
    OptionTable& TableOf(SystemRow) { return SystemOptions; }
    OptionTable& TableOf(FilterRow) { return FilterOptions; }
    OptionTable& TableOf(MethodRow) { return MethodOptions; }
    const OptionTable& TableOf(SystemRow) const { return SystemOptions; }
    const OptionTable& TableOf(FilterRow) const { return FilterOptions; }
    const OptionTable& TableOf(MethodRow) const { return MethodOptions; }

    QString OptionFileText() const;

    MessageBoxPort& mMessages;
    FileSystem mFs;
    QString mIniFolder;
};

}  // namespace sorvane
