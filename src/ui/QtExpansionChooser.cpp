#include "ui/QtExpansionChooser.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

const QString kTitle = u"置換パターンの選択"_s;

}  // namespace

ExpansionChoice QtExpansionChooser::Choose(const ExpansionViews& views, const QString& message) {
    QMessageBox box(QMessageBox::Question, kTitle, message, QMessageBox::NoButton, mParent);
    box.setTextFormat(Qt::PlainText);
    box.setDetailedText(ExpansionViewsText(views));
    QPushButton* cancel = box.addButton(u"中止(&C)"_s, QMessageBox::RejectRole);
    QPushButton* keep = box.addButton(u"このまま(&R)"_s, QMessageBox::AcceptRole);
    QPushButton* change = box.addButton(u"変えてみる(&S)"_s, QMessageBox::AcceptRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == keep) return ExpansionChoice::KeepFirst;
    if (box.clickedButton() == change) return ExpansionChoice::TakeSecond;
    return ExpansionChoice::Cancel;
}

void QtExpansionChooser::Display(const ExpansionViews& views) {
    auto* box = new QMessageBox(QMessageBox::Information, u"置換パターンの展開結果"_s,
                                ExpansionViewsText(views), QMessageBox::Close, mParent);
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

void QtExpansionChooser::Beep() {
    QApplication::beep();
}

}  // namespace sorvane
