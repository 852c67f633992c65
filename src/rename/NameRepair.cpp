#include "rename/NameRepair.h"

#include <QChar>

#include "platform/NameBytes.h"
#include "platform/TextCodec.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

constexpr const char* kCp932 = "windows-31j";
constexpr const char* kCp437 = "IBM437";

RepairResult ReadBytes(const char* codePage, QStringView name, QString& repaired) {
    if (!name_bytes::HasEscape(name)) return RepairResult::NotTarget;
    return ReadNameBytes(codePage, name, &repaired) ? RepairResult::Repaired
                                                    : RepairResult::Unreadable;
}

bool IsAscii(QStringView name) {
    for (const QChar c : name)
        if (c.unicode() >= 0x80) return false;
    return true;
}

RepairResult ReadZipName(QStringView name, QString& repaired) {
    QByteArray bytes;
    if (IsAscii(name) || name_bytes::HasEscape(name) || !EncodeStrictly(kCp437, name, &bytes))
        return RepairResult::NotTarget;
    if (!DecodeStrictly(kCp932, bytes, &repaired)) return RepairResult::Unreadable;
    return repaired == name ? RepairResult::NotTarget : RepairResult::Repaired;
}

// CJK compatibility ideographs: canonical composition maps each to another
// character, which its users count as a different one.
bool IsCompatibilityIdeograph(char32_t c) {
    return (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x2F800 && c <= 0x2FA1F);
}

bool IsCombining(char32_t c) {
    return QChar::isMark(c) || QChar::combiningClass(c) != 0;
}

char32_t CodePointAt(QStringView text, qsizetype i, qsizetype* length) {
    const char16_t u = text[i].unicode();
    if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(u, text[i + 1].unicode());
    }
    *length = 1;
    return u;
}

// Each base character with the combining marks after it, composed where it
// has marks and is no compatibility ideograph; every other character as it
// is.
RepairResult ComposeMarks(QStringView name, QString& repaired) {
    if (name_bytes::HasEscape(name)) return RepairResult::NotTarget;
    repaired.clear();
    for (qsizetype i = 0; i < name.size();) {
        qsizetype length = 0;
        const char32_t base = CodePointAt(name, i, &length);
        qsizetype end = i + length;
        while (end < name.size()) {
            qsizetype next = 0;
            if (!IsCombining(CodePointAt(name, end, &next))) break;
            end += next;
        }
        const QStringView sequence = name.sliced(i, end - i);
        if (end - i > length && !IsCompatibilityIdeograph(base))
            repaired += sequence.toString().normalized(QString::NormalizationForm_C);
        else
            repaired += sequence;
        i = end;
    }
    return repaired == name ? RepairResult::NotTarget : RepairResult::Repaired;
}

}  // namespace

RepairResult RepairName(NameRepair repair, QStringView name, QString& repaired) {
    switch (repair) {
        case NameRepair::Cp932:
            return ReadBytes(kCp932, name, repaired);
        case NameRepair::EucJp:
            return ReadBytes("EUC-JP", name, repaired);
        case NameRepair::UnzipCp932:
            return ReadZipName(name, repaired);
        case NameRepair::Nfc:
            return ComposeMarks(name, repaired);
        case NameRepair::None:
            break;
    }
    return RepairResult::NotTarget;
}

QString RepairCodePageName(NameRepair repair) {
    switch (repair) {
        case NameRepair::Cp932:
        case NameRepair::UnzipCp932:
            return u"CP932"_s;
        case NameRepair::EucJp:
            return u"EUC-JP"_s;
        default:
            return {};
    }
}

}  // namespace sorvane
