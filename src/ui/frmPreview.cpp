#include "ui/frmPreview.h"

#include <QEvent>
#include <QVBoxLayout>

#include "run/mdlMain.h"
#include "ui/WindowFlags.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

const QString kTitle = u"変換プレビュー"_s;
constexpr int kInitialHeight = 280;

}  // namespace

frmPreview::frmPreview(mdlMain& program, QWidget& mainWindow, WindowFlags& flags,
                       PreviewComputer::Compute compute)
    : QDialog(&mainWindow), m(program), mFlags(flags) {
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // The user goes on typing in the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setObjectName(u"frmPreview"_s);
    mTable = new PreviewTable(std::move(compute), this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mTable);
    connect(mTable, &PreviewTable::Outdated, this, &frmPreview::ShowOutdated);
    connect(mTable, &PreviewTable::Shown, this, &frmPreview::ShowCounts);

    mFlags.gPreviewOpen = true;
    m.SetPreviewWindowOpen(true);
    resize(mainWindow.frameGeometry().width(), kInitialHeight);
    FollowForm(&mainWindow);
    setWindowTitle(kTitle);
    // Every way of closing a dialog ends in done(), which emits finished.
    connect(this, &QDialog::finished, this, [this] {
        mFlags.gPreviewOpen = false;
        m.SetPreviewWindowOpen(false);
        deleteLater();
        Q_EMIT Unloaded();
    });
}

// Deleted with the main window the program state may be gone already.
frmPreview::~frmPreview() {
    disconnect(this, &QDialog::finished, this, nullptr);
}

void frmPreview::InputsChanged(PreviewRequest request) {
    mTable->Request(std::move(request));
}

void frmPreview::FollowForm(const QWidget* form) {
    if (!form) return;
    const QRect frame = form->frameGeometry();
    move(frame.left(), frame.top() + frame.height());
}

QString frmPreview::CountLine() const {
    return mTable->CountLine();
}

QString frmPreview::Note() const {
    return mTable->Note();
}

void frmPreview::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) mTable->SetPaused(!isEnabled());
}

// The rows shown stay until the new ones come, so that the table does not
// flicker while the user types; the title says they are out of date.
void frmPreview::ShowOutdated() {
    setWindowTitle(kTitle + u"－計算中…"_s);
}

void frmPreview::ShowCounts() {
    const QString counts = mTable->Counts();
    setWindowTitle(counts.isEmpty() ? kTitle : kTitle + u"－"_s + counts);
}

}  // namespace sorvane
