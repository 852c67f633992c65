#include "ui/frmDlgCancel.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ports/clsCancel.h"

namespace sorvane {

frmDlgCancel::frmDlgCancel(QWidget* parent)
    : QDialog(parent),
      Text2(new QLineEdit(this)),
      Text1(new QPlainTextEdit(this)),
      CancelButton(new QPushButton(QStringLiteral("中止(&C)"), this)) {
    setObjectName(QStringLiteral("frmDlgCancel"));
    setWindowTitle(QStringLiteral("作業中"));
    mCaption = windowTitle();
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setReadOnly(true);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setFixedHeight(64);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text2);
    layout->addWidget(Text1);
    layout->addLayout(buttons);
    resize(420, sizeHint().height());

    connect(CancelButton, &QPushButton::clicked, this, &frmDlgCancel::CancelButton_Click);
}

void frmDlgCancel::CancelButton_Click() {
    if (mOwner) mOwner->CancelClick();
}

// While the window is shown, its texts change at the next event pump, once
// a frame, however often a run sets them.
void frmDlgCancel::SetCaption(const QString& caption) {
    mCaption = caption;
    TextsChanged();
}
void frmDlgCancel::SetTitle(const QString& title) {
    mTitle = title;
    TextsChanged();
}
void frmDlgCancel::SetText(const QString& text) {
    mText = text;
    TextsChanged();
}

void frmDlgCancel::TextsChanged() {
    mTextsPending = true;
    if (!isVisible()) ApplyTexts();
}

void frmDlgCancel::ApplyTexts() {
    if (!mTextsPending) return;
    mTextsPending = false;
    if (windowTitle() != mCaption) setWindowTitle(mCaption);
    if (Text2->text() != mTitle) Text2->setText(mTitle);
    if (Text1->toPlainText() != mText) Text1->setPlainText(mText);
}

void frmDlgCancel::Show() {
    ApplyTexts();
    mPumped.invalidate();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
}

void frmDlgCancel::Hide() {
    mPumped.invalidate();
    hide();
}

// A run asks many times a second; the window answers once a frame, so that
// repainting it does not cost the run more than the run itself. Showing and
// hiding are taken at the next ask.
void frmDlgCancel::ProcessEvents() {
    if (mPumped.isValid() && mPumped.elapsed() < mPumpIntervalMs) return;
    ApplyTexts();
    QCoreApplication::processEvents();
    mPumped.start();
}

// Painted now, user input left waiting: the main window is still busy.
void frmDlgCancel::ShowTextsNow() {
    ApplyTexts();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The title bar's close box does nothing: only "中止(&C)" stops a run.
void frmDlgCancel::closeEvent(QCloseEvent* event) {
    event->ignore();
}

// Esc is the cancel button of the window.
void frmDlgCancel::reject() {
    CancelButton_Click();
}

}  // namespace sorvane
