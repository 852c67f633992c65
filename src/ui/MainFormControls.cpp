#include "ui/MainFormControls.h"

#include "run/SettingsInEffect.h"
#include "settings/mdlOptions.h"
#include "ui/CheckBoxValues.h"
#include "ui_frmMain.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

void SetChecked(QCheckBox* box, bool on) {
    box->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

CheckBoxValue ValueOf(const QCheckBox* box) {
    return CheckBoxValueOf(box->checkState());
}

}  // namespace

void MainFormControls::Show(const mdlOptions& o, const SettingsInEffect& s, bool attributeOnly) {
    ui.chkExt_2->setToolTip(u"除外："_s + s.gImportantPatterns);
    ui.chkErrNoChk->setEnabled(o.Num(SystemRow::QuickAllowed) == 1);
    constexpr FilterRow kAttributeRows[] = {FilterRow::ReadOnly, FilterRow::Hidden,
                                            FilterRow::Archive, FilterRow::System};
    for (int i = 0; i < 4; ++i) SetChecked(Attribute(i), o.Num(kAttributeRows[i]) != 0);
    SetChecked(ui.chksysOnly, attributeOnly);
    SetChecked(ui.chkR, o.Num(MethodRow::Recursive) != 0);
    SetChecked(ui.chkD, o.Num(MethodRow::DeleteExisting) != 0);
    for (int i = 0; i < 3; ++i) SetChecked(FilterSwitch(i), s.gFilterSwitch[size_t(i)]);
    SetChecked(ui.chkFol, o.Num(MethodRow::Folders) != 0);
    SetChecked(ui.chkBS, o.Num(MethodRow::TextMode) != 0);
    if (QAbstractButton* op = OperationButton(int(s.gOperation))) op->setChecked(true);
    SetModeControls();
    (o.Num(MethodRow::WholeName) == 1 ? ui.optM_1 : ui.optM_0)->setChecked(true);
    ui.txtBfr->setText(o.Text(MethodRow::SearchWord));
    ui.txtAft->setText(o.Text(MethodRow::ReplaceWord));
    SetChecked(ui.chkErrNoChk, o.Num(MethodRow::QuickList) != 0);
    ui.chkD->setEnabled(!ui.chkErrNoChk->isChecked());
    ui.txtExt_0->setText(o.Text(FilterRow::Include));
    ui.txtExt_1->setText(o.Text(FilterRow::Exclude));
}

void MainFormControls::SetModeControls() {
    const bool replace = ui.optRRL_0->isChecked();
    ui.txtBfr->setVisible(replace);
    ui.lbl変換前->setVisible(replace);
    ui.chkBS->setEnabled(replace);
    ui.Frame4->setEnabled(replace);
    ui.lbl変換後->setText(replace ? u"置換語"_s : u"挿入語"_s);
}

// The run inputs as a start hands them to the run.
RunInputValues MainFormControls::RunInputs() const {
    RunInputValues in;
    in.searchWord = ui.txtBfr->text();
    in.replaceWord = ui.txtAft->text();
    in.recursive = ValueOf(ui.chkR);
    in.deleteValue = ValueOf(ui.chkD);
    in.deleteEnabled = ui.chkD->isEnabled();
    in.textMode = ValueOf(ui.chkBS);
    in.wholeName = ui.optM_1->isChecked();
    in.quickList = ValueOf(ui.chkErrNoChk);
    in.quickListEnabled = ui.chkErrNoChk->isEnabled();
    return in;
}

FormValues MainFormControls::Values() const {
    FormValues values;
    values.run = RunInputs();
    FilterValues& filter = values.filter;
    for (int i = 0; i < 4; ++i) filter.attributes[size_t(i)] = ValueOf(Attribute(i));
    filter.attributeOnly = ValueOf(ui.chksysOnly);
    for (int i = 0; i < 3; ++i) filter.switches[size_t(i)] = ValueOf(FilterSwitch(i));
    for (int i = 0; i < 2; ++i) filter.patterns[size_t(i)] = FilterBox(i)->text();
    filter.folders = ValueOf(ui.chkFol);
    return values;
}

QAbstractButton* MainFormControls::OperationButton(int index) const {
    QAbstractButton* const buttons[] = {ui.optRRL_0, ui.optRRL_1, ui.optRRL_2};
    return index >= 0 && index < 3 ? buttons[index] : nullptr;
}
QCheckBox* MainFormControls::Attribute(int index) const {
    QCheckBox* const boxes[] = {ui.chkSys_0, ui.chkSys_1, ui.chkSys_2, ui.chkSys_3};
    return boxes[index];
}
QCheckBox* MainFormControls::FilterSwitch(int index) const {
    QCheckBox* const boxes[] = {ui.chkExt_0, ui.chkExt_1, ui.chkExt_2};
    return boxes[index];
}
QLineEdit* MainFormControls::FilterBox(int index) const {
    return index == 0 ? ui.txtExt_0 : ui.txtExt_1;
}

}  // namespace sorvane
