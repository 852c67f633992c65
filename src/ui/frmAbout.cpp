#include "ui/frmAbout.h"

#include <QPalette>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QtMath>

#include "ui/ProgramIcon.h"
#include "ui/WindowFlags.h"
#include "ui_frmAbout.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

// The offset of the window from the main window's corner when it opens.
constexpr int kOpenOffset = 20;

// A read-only text box of two lines on the window's face.
void TwoLinesOnWindowFace(QPlainTextEdit* box) {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    box->setPalette(palette);
    const qreal margin = box->document()->documentMargin();
    box->setFixedHeight(qCeil(2 * box->fontMetrics().lineSpacing() + 2 * margin) +
                        2 * box->frameWidth());
}

}  // namespace

frmAbout::frmAbout(WindowFlags& state, QWidget* mainWindow)
    : QDialog(mainWindow), ui(std::make_unique<Ui::frmAbout>()), mState(state) {
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    state.gAboutOpen = true;
    ui->Image1->setPixmap(ProgramIcon().pixmap(ui->Image1->minimumSize()));
    TwoLinesOnWindowFace(ui->txtTitle);
    TwoLinesOnWindowFace(ui->txtDescription);
    setFixedSize(width(), sizeHint().height());
    // The lines of both texts are separated by CR LF, which a text box would
    // read as two breaks.
    ui->txtTitle->setPlainText(u"Sorvane\nVer "_s + QStringLiteral(SORVANE_VERSION_TEXT));
    ui->txtDescription->setPlainText(u"制作："_s + QStringLiteral(SORVANE_COPYRIGHT_TEXT) +
                                     u"\n2004.03.14"_s);
    if (mainWindow) move(mainWindow->pos() + QPoint(kOpenOffset, kOpenOffset));
    // Every way of closing a dialog ends in done(), which emits finished.
    connect(ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(this, &QDialog::finished, this, [this, &state] {
        state.gAboutOpen = false;
        deleteLater();
    });
}

void frmAbout::FollowForm(const QWidget* form) {
    DockTo(*this, form, mState.gOptionWindow ? Dock::RightLower : Dock::Right);
}

// Deleted with the main window the program state may be gone already.
frmAbout::~frmAbout() {
    disconnect(this, &QDialog::finished, this, nullptr);
}

}  // namespace sorvane
