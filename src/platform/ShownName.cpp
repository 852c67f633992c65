#include "platform/ShownName.h"

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

void AppendShown(QString& out, QStringView name) {
    qsizetype from = 0;
    for (qsizetype i = FirstControl(name); i >= 0;) {
        out += name.sliced(from, i - from);
        out += PictureOf(name[i].unicode());
        from = i + 1;
        const qsizetype next = FirstControl(name.sliced(from));
        i = next < 0 ? -1 : from + next;
    }
    out += name.sliced(from);
}

}  // namespace sorvane
