#include "ui/frmDlgDel.h"

#include <QPalette>

#include "ui_frmDlgDel.h"

namespace sorvane {

frmDlgDel::frmDlgDel(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmDlgDel>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    mDesignSize = size();
    // The question reads as a label on the window's background; it wraps
    // anywhere, so that a long path without breaks stays readable, and
    // scrolls when it is longer than the room it has.
    QPalette palette = ui->Label1->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    ui->Label1->setPalette(palette);
    connect(ui->OKButton, &QPushButton::clicked, this, [this] { Answer(OverwriteAnswer::Yes); });
    connect(ui->NoButton, &QPushButton::clicked, this, [this] { Answer(OverwriteAnswer::No); });
    connect(ui->AllDelButton, &QPushButton::clicked, this,
            [this] { Answer(OverwriteAnswer::DeleteAll); });
    connect(ui->AllSaveButton, &QPushButton::clicked, this,
            [this] { Answer(OverwriteAnswer::KeepAll); });
    connect(ui->cmdCancel, &QPushButton::clicked, this,
            [this] { Answer(OverwriteAnswer::Cancel); });
}

frmDlgDel::~frmDlgDel() = default;

OverwriteAnswer frmDlgDel::Ask(const QString& caption, const QString& label) {
    // Anything that closes the dialog without a button (Esc, the close box)
    // leaves the answer No.
    mAnswer = OverwriteAnswer::No;
    setWindowTitle(caption);
    // Plain text, never markup: a file name is shown as it is. The lines
    // are separated by CR LF, which the text box would read as two breaks.
    ui->Label1->setPlainText(QString(label).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    resize(mDesignSize);
    ui->NoButton->setDefault(true);
    ui->NoButton->setFocus();
    exec();
    return mAnswer;
}

void frmDlgDel::Answer(OverwriteAnswer answer) {
    mAnswer = answer;
    accept();
}

}  // namespace sorvane
