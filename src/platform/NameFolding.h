#pragma once

#include <QByteArrayView>
#include <QString>

namespace sorvane {

// A name as a file system that compares names without case could take it:
// compatibility-normalised, then case-folded. This folds more than any such
// file system does (exFAT, FAT and CIFS fold by Unicode's case mappings,
// some also normalise), so that two names it keeps apart are apart on each.
QString CaselessName(QStringView name);

// A name that a volume folding case may find under another entry than the
// one that folds alike: FAT and NTFS also find an entry by its short 8.3
// alias ("PHOTO~1.JPG"), and FAT drops trailing dots and spaces.
bool MayNameAnAlias(QStringView name);
bool MayNameAnAlias(QByteArrayView name);

}  // namespace sorvane
