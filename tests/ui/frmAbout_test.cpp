#include "ui/frmAbout.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "ui/WidgetApp.h"
#include "ui/WindowFlags.h"

using namespace sorvane;
using namespace Qt::StringLiterals;

namespace {

struct VersionWindowTest : test::WithApplication, ::testing::Test {
    WindowFlags state;
    QWidget mainWindow;

    void SetUp() override {
        mainWindow.setGeometry(200, 150, 400, 300);
        mainWindow.show();
    }
    template <typename T>
    static T* Find(const frmAbout* about, const QString& name) {
        T* control = about->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
};

TEST_F(VersionWindowTest, ShowsTitleVersionCopyrightAndDateWithoutBlocking) {
    auto* about = new frmAbout(state, &mainWindow);
    EXPECT_TRUE(state.gAboutOpen);
    about->show();
    EXPECT_EQ(about->windowTitle(), u"バージョン情報"_s);
    EXPECT_EQ(Find<QPlainTextEdit>(about, u"txtTitle"_s)->toPlainText(), u"Sorvane\nVer 1.12a"_s);
    EXPECT_TRUE(Find<QPlainTextEdit>(about, u"txtTitle"_s)->font().bold());
    EXPECT_EQ(Find<QPlainTextEdit>(about, u"txtDescription"_s)->toPlainText(),
              u"制作：Sorvane の開発者\n2004.03.14"_s);
    EXPECT_EQ(Find<QPushButton>(about, u"cmdOK"_s)->text(), u"OK(&O)"_s);
    EXPECT_FALSE(Find<QLabel>(about, u"Image1"_s)->pixmap().isNull());
    EXPECT_EQ(about->pos(), mainWindow.pos() + QPoint(20, 20));
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    about->close();
}

TEST_F(VersionWindowTest, EveryWayOfClosingUnloadsTheWindow) {
    const std::pair<const char*, std::function<void(frmAbout*)>> ways[] = {
        {"OK",
         [](frmAbout* a) { QTest::mouseClick(Find<QPushButton>(a, u"cmdOK"_s), Qt::LeftButton); }},
        {"Enter", [](frmAbout* a) { QTest::keyClick(a, Qt::Key_Return); }},
        {"Esc", [](frmAbout* a) { QTest::keyClick(a, Qt::Key_Escape); }},
        {"close box", [](frmAbout* a) { a->close(); }},
    };
    for (const auto& [way, close] : ways) {
        QPointer<frmAbout> about = new frmAbout(state, &mainWindow);
        about->show();
        ASSERT_TRUE(state.gAboutOpen) << way;
        close(about);
        EXPECT_FALSE(state.gAboutOpen) << way;
        EXPECT_FALSE(about->isVisible()) << way;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(about.isNull()) << way;
    }
}

}  // namespace
