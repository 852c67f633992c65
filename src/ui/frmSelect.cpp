#include "ui/frmSelect.h"

#include <QApplication>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>

#include "ui_frmSelect.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

// The height of the views in the display-only style: 1000 twips.
constexpr int kToolViewTwips = 1000;

}  // namespace

frmSelect::frmSelect(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::frmSelect>()) {
    ui->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    mViews = {ui->rtfView_0, ui->rtfView_1, ui->rtfView_2};
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    ui->Image1->setPixmap(
        style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(iconSize));
    // A fixed-pitch font keeps the columns of the numbered lines aligned;
    // "ＭＳ ゴシック" where it exists, a Japanese monospace font otherwise.
    QFont font = ui->rtfView_0->font();
    font.setFamilies({u"ＭＳ ゴシック"_s, u"MS Gothic"_s, u"Noto Sans Mono CJK JP"_s,
                      u"IPAGothic"_s, u"monospace"_s});
    font.setStyleHint(QFont::TypeWriter);
    for (int k = 0; k < 3; ++k) {
        mViews[k]->setFont(font);
        connect(mViews[k], &QPlainTextEdit::cursorPositionChanged, this,
                [this, k] { CaretMoved(k); });
    }
    connect(ui->vscSelect, &QScrollBar::valueChanged, this, &frmSelect::ScrollTo);
    connect(ui->cmdBs_0, &QPushButton::clicked, this, [this] { Button(0); });
    connect(ui->cmdBs_1, &QPushButton::clicked, this, [this] { Button(1); });
    connect(ui->cmdBs_2, &QPushButton::clicked, this, [this] { Button(2); });
}

frmSelect::~frmSelect() = default;

ExpansionChoice frmSelect::Choose(const ExpansionViews& views, const QString& message) {
    // A new window for each question, beside the display-only one.
    frmSelect dialog(parentWidget());
    dialog.Load(views);
    // Plain text, never markup; lines are separated by CR LF.
    dialog.ui->Text1->setPlainText(QString(message).replace(u"\r\n"_s, u"\n"_s));
    dialog.ui->cmdBs_0->setFocus();
    dialog.exec();
    switch (dialog.retV) {
        case 1:
            return ExpansionChoice::KeepFirst;
        case 2:
            return ExpansionChoice::TakeSecond;
        default:
            return ExpansionChoice::Cancel;
    }
}

void frmSelect::Display(const ExpansionViews& views) {
    const bool opening = !isVisible();
    ToolStyle();
    Load(views);
    if (opening) Q_EMIT DisplayOpened();
    show();
}

void frmSelect::Beep() {
    QApplication::beep();
}

void frmSelect::LoadDecData(int Trg, const QStringList& dec) {
    if (Trg < 0 || Trg > 2) return;
    const qsizetype n = dec.size();
    QString text;
    for (qsizetype i = 0; i < n; ++i)
        text += QString::number(i).rightJustified(3, u' ') + u" : "_s + dec[i] + u'\n';
    const bool busy = mBusy;
    mBusy = true;
    ui->vscSelect->setMaximum(static_cast<int>(n));
    mViews[Trg]->setPlainText(text);
    mBusy = busy;
}

void frmSelect::ToolStyle() {
    if (mToolStyle) return;
    mToolStyle = true;
    for (QWidget* w : {static_cast<QWidget*>(ui->Image1), static_cast<QWidget*>(ui->Text1),
                       static_cast<QWidget*>(ui->cmdBs_0), static_cast<QWidget*>(ui->cmdBs_1),
                       static_cast<QWidget*>(ui->cmdBs_2)})
        w->hide();
    const int height = qRound(kToolViewTwips * logicalDpiY() / 1440.0);
    for (QPlainTextEdit* view : mViews) view->setFixedHeight(height);
    ui->vscSelect->setFixedHeight(height);
    setModal(false);
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    // The run goes on in the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(u"置換パターンの展開結果"_s);
    layout()->activate();
    setFixedSize(width(), layout()->minimumSize().height());
    FollowForm(parentWidget());
}

void frmSelect::FollowForm(const QWidget* form) {
    DockTo(*this, form, Dock::Below);
}

void frmSelect::done(int result) {
    QDialog::done(result);
    if (mToolStyle) {
        mToolStyle = false;
        Q_EMIT DisplayClosed();
    }
}

void frmSelect::Load(const ExpansionViews& views) {
    LoadDecData(0, views.matchDec);
    LoadDecData(1, views.replaceDec);
    LoadDecData(2, views.replaceDecReverse);
    ui->vscSelect->setValue(0);
    ScrollTo(0);
}

void frmSelect::Button(qint16 index) {
    retV = index;
    accept();
}

void frmSelect::ScrollTo(int line) {
    if (mBusy) return;
    mBusy = true;
    for (int k = 0; k < 3; ++k) MoveCaret(k, line);
    mBusy = false;
}

void frmSelect::CaretMoved(int view) {
    if (mBusy) return;
    mBusy = true;
    const int line = mViews[view]->textCursor().blockNumber();
    ui->vscSelect->setValue(line);
    for (int k = 0; k < 3; ++k)
        if (k != view) MoveCaret(k, line);
    mBusy = false;
}

void frmSelect::MoveCaret(int view, int line) {
    QTextDocument* document = mViews[view]->document();
    QTextBlock block = document->findBlockByNumber(line);
    if (!block.isValid()) block = document->lastBlock();
    mViews[view]->setTextCursor(QTextCursor(block));
    mViews[view]->ensureCursorVisible();
}

}  // namespace sorvane
