#include "platform/ShownName.h"

#include <string_view>

namespace sorvane {

namespace {

constexpr char16_t kDelete = 0x7F;
constexpr char16_t kFirstPicture = 0x2400;   // "␀"
constexpr char16_t kDeletePicture = 0x2421;  // "␡"

bool IsControl(char16_t c) {
    return c < 0x20 || c == kDelete;
}

QChar PictureOf(char16_t c) {
    return QChar(c == kDelete ? kDeletePicture : char16_t(kFirstPicture + c));
}

qsizetype FirstControl(QStringView text) {
    const char16_t* const begin = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i)
        if (IsControl(begin[i])) return i;
    return -1;
}

}  // namespace

QString ShownName(const QString& name) {
    const qsizetype first = FirstControl(name);
    if (first < 0) return name;
    QString shown = name;
    QChar* const units = shown.data();  // the one copy, made only here
    for (qsizetype i = first; i < shown.size(); ++i)
        if (IsControl(units[i].unicode())) units[i] = PictureOf(units[i].unicode());
    return shown;
}

// One copy, its controls replaced on the way: the detailed log appends
// three names per target.
void AppendShown(QString& out, QStringView name) {
    const qsizetype at = out.size();
    out.resize(at + name.size());
    PutShown(out.data() + at, name);
}

QChar* PutShown(QChar* to, QStringView name) {
    char16_t* out = reinterpret_cast<char16_t*>(to);
    for (const char16_t c : std::u16string_view(name.utf16(), size_t(name.size())))
        *out++ = IsControl(c) ? PictureOf(c).unicode() : c;
    return reinterpret_cast<QChar*>(out);
}

}  // namespace sorvane
