#include "ui/frmRepair.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>

#include "run/mdlMain.h"
#include "ui/WindowFlags.h"

namespace sorvane {

using namespace Qt::StringLiterals;

frmRepair::frmRepair(mdlMain& program, QWidget& mainWindow, WindowFlags& flags,
                     PreviewComputer::Compute compute)
    : TableWindow(
          mainWindow, u"名前の修復"_s, flags.gRepairOpen,
          [&program](bool open) { program.SetRepairWindowOpen(open); }, std::move(compute), 320),
      m(program) {
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

    auto* choices = new QGridLayout;
    choices->addWidget(optRepair[0], 0, 0);
    choices->addWidget(cboCodePage, 0, 1);
    choices->addWidget(optRepair[1], 1, 0);
    choices->addWidget(optRepair[2], 2, 0);
    choices->addWidget(cmdRepair, 0, 3);
    choices->setColumnStretch(2, 1);
    Layout().insertLayout(0, choices);

    ShowChoice(m.Settings().gRepair);
    connect(group, &QButtonGroup::idClicked, this, &frmRepair::ChoiceChanged);
    connect(cboCodePage, &QComboBox::activated, this, [this] {
        optRepair[0]->setChecked(true);
        ChoiceChanged();
    });
    connect(cmdRepair, &QPushButton::clicked, this, [this] { Q_EMIT RepairAsked(Repair()); });
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
    Table().Request(std::move(request));
}

}  // namespace sorvane
