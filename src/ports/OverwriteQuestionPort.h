#pragma once

#include <QString>

namespace sorvane {

// The five answers of the overwrite confirmation dialog. Closing the dialog
// from its title bar answers No.
enum class OverwriteAnswer { Yes, No, DeleteAll, KeepAll, Cancel };

// The modal overwrite question: caption and question text in, one answer out.
class OverwriteQuestionPort {
public:
    virtual ~OverwriteQuestionPort() = default;
    virtual OverwriteAnswer Ask(const QString& caption, const QString& label) = 0;
};

}  // namespace sorvane
