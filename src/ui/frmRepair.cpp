#include "ui/frmRepair.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "run/mdlMain.h"
#include "ui/WindowFlags.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

const QString kTitle = u"名前の修復"_s;
constexpr int kInitialHeight = 320;

}  // namespace

frmRepair::frmRepair(mdlMain& program, QWidget& mainWindow, WindowFlags& flags,
                     PreviewComputer::Compute compute)
    : QDialog(&mainWindow), m(program), mFlags(flags) {
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setObjectName(u"frmRepair"_s);

    const QString captions[] = {u"文字コード(&C)"_s, u"zipの文字化け(&U)"_s, u"濁点の結合(&D)"_s};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        optRepair[i] = new QRadioButton(captions[i], this);
        optRepair[i]->setObjectName(u"optRepair_%1"_s.arg(i));
        group->addButton(optRepair[i], i);
    }
    cboCodePage = new QComboBox(this);
    cboCodePage->setObjectName(u"cboCodePage"_s);
    cboCodePage->addItems({u"CP932 (Shift-JIS)"_s, u"EUC-JP"_s});
    cboCodePage->setAccessibleName(u"文字コード"_s);
    cmdRepair = new QPushButton(u"修復(&R)"_s, this);
    cmdRepair->setObjectName(u"cmdRepair"_s);
    mTable = new PreviewTable(std::move(compute), this);

    auto* choices = new QGridLayout;
    choices->addWidget(optRepair[0], 0, 0);
    choices->addWidget(cboCodePage, 0, 1);
    choices->addWidget(optRepair[1], 1, 0);
    choices->addWidget(optRepair[2], 2, 0);
    choices->addWidget(cmdRepair, 0, 3);
    choices->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(mTable, 1);

    ShowChoice(m.Settings().gRepair);
    connect(group, &QButtonGroup::idClicked, this, &frmRepair::ChoiceChanged);
    connect(cboCodePage, &QComboBox::activated, this, [this] {
        optRepair[0]->setChecked(true);
        ChoiceChanged();
    });
    connect(cmdRepair, &QPushButton::clicked, this, [this] { Q_EMIT RepairAsked(Repair()); });
    connect(mTable, &PreviewTable::Outdated, this, [this] { ShowTitle(true); });
    connect(mTable, &PreviewTable::Shown, this, [this] { ShowTitle(false); });

    mFlags.gRepairOpen = true;
    m.SetRepairWindowOpen(true);
    resize(mainWindow.frameGeometry().width(), kInitialHeight);
    FollowForm(&mainWindow);
    setWindowTitle(kTitle);
    // Every way of closing a dialog ends in done(), which emits finished.
    connect(this, &QDialog::finished, this, [this] {
        mFlags.gRepairOpen = false;
        m.SetRepairWindowOpen(false);
        deleteLater();
        Q_EMIT Unloaded();
    });
}

// Deleted with the main window the program state may be gone already.
frmRepair::~frmRepair() {
    disconnect(this, &QDialog::finished, this, nullptr);
}

NameRepair frmRepair::Repair() const {
    if (optRepair[1]->isChecked()) return NameRepair::UnzipCp932;
    if (optRepair[2]->isChecked()) return NameRepair::Nfc;
    return cboCodePage->currentIndex() == 1 ? NameRepair::EucJp : NameRepair::Cp932;
}

void frmRepair::ShowChoice(NameRepair repair) {
    optRepair[repair == NameRepair::UnzipCp932 ? 1
              : repair == NameRepair::Nfc      ? 2
                                               : 0]
        ->setChecked(true);
    if (repair == NameRepair::EucJp) cboCodePage->setCurrentIndex(1);
}

void frmRepair::ChoiceChanged() {
    m.SetRepair(Repair());
    if (mHasRequest) InputsChanged(mRequest);
}

void frmRepair::InputsChanged(PreviewRequest request) {
    mRequest = request;
    mHasRequest = true;
    request.inputs.repair = Repair();
    mTable->Request(std::move(request));
}

void frmRepair::FollowForm(const QWidget* form) {
    if (!form) return;
    const QRect frame = form->frameGeometry();
    move(frame.left(), frame.top() + frame.height());
}

void frmRepair::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) mTable->SetPaused(!isEnabled());
}

void frmRepair::ShowTitle(bool outdated) {
    const QString counts = mTable->Counts();
    setWindowTitle(outdated           ? kTitle + u"－計算中…"_s
                   : counts.isEmpty() ? kTitle
                                      : kTitle + u"－"_s + counts);
}

}  // namespace sorvane
