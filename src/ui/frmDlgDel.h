#pragma once

#include <QDialog>
#include <memory>

#include "ports/OverwriteQuestionPort.h"

namespace Ui {
class frmDlgDel;
}

namespace sorvane {

// The overwrite confirmation: asks whether the file that already bears a new
// name may be deleted. Five buttons give the five answers; Enter, Esc and the
// title bar's close box answer No. Each question starts from the form's
// design state but for the caption and the question text. Label1, the
// question, is a read-only plain text box drawn like a label, so that a long
// path wraps and scrolls and can be copied.
class frmDlgDel : public QDialog, public OverwriteQuestionPort {
    Q_OBJECT
public:
    explicit frmDlgDel(QWidget* parent = nullptr);
    ~frmDlgDel() override;

    // Shows the dialog modally and returns when it has closed.
    OverwriteAnswer Ask(const QString& caption, const QString& label) override;

private:
    void Answer(OverwriteAnswer answer);

    std::unique_ptr<Ui::frmDlgDel> ui;
    QSize mDesignSize;
    OverwriteAnswer mAnswer = OverwriteAnswer::No;
};

}  // namespace sorvane
