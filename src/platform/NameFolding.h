#pragma once

#include <QString>

namespace sorvane {

// A name as a file system that compares names without case could take it:
// compatibility-normalised, then case-folded. This folds more than any such
// file system does (exFAT, FAT and CIFS fold by Unicode's case mappings,
// some also normalise), so that two names it keeps apart are apart on each.
QString CaselessName(QStringView name);

}  // namespace sorvane
