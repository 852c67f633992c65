#include "ui/ShellTools.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

#include "platform/FileSystem.h"
#include "platform/mdlTools.h"
#include "support/OpenedUrls.h"
#include "ui/WidgetApp.h"

using namespace sorvane;

namespace {

struct ShellFixture : test::WithApplication, ::testing::Test {
    QTemporaryDir tmp;
    QString root;
    QString current;
    FileSystem fs;
    mdlTools tools{fs, current};

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        root = QDir(tmp.path()).canonicalPath();
        ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/写真 #1/100%")));
        ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/other")));
        for (const char* name : {"/写真 #1/a.jpg", "/other/b.jpg"}) {
            QFile file(root + QString::fromUtf8(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        ASSERT_TRUE(
            QFile::link(root + QStringLiteral("/写真 #1"), root + QStringLiteral("/to-folder")));
        ASSERT_TRUE(
            QFile::link(root + QStringLiteral("/other/b.jpg"), root + QStringLiteral("/to-file")));
        ASSERT_TRUE(
            QFile::link(root + QStringLiteral("/gone"), root + QStringLiteral("/other/dangling")));
        // "あ" in Shift-JIS: a folder whose name is not UTF-8.
        ASSERT_EQ(::mkdir(FileSystem::Encode(root + QStringLiteral("/") + kSjis).constData(), 0700),
                  0);
    }
    // QTemporaryDir removes only names that are UTF-8.
    void TearDown() override { ::rmdir(FileSystem::Encode(root + u'/' + kSjis).constData()); }
    const QString kSjis = QString(QChar(0xDC82)) + QChar(0xDCA0);
    QUrl Local(const char* name) { return QUrl::fromLocalFile(root + QString::fromUtf8(name)); }
};

TEST_F(ShellFixture, DropFolderIsTheFolderTheDropMeans) {
    struct Case {
        const char* what;
        QList<QUrl> urls;
        const char* expected;  // below root; nullptr for ""
    };
    const Case cases[] = {
        {"a folder", {Local("/写真 #1/100%")}, "/写真 #1/100%"},
        {"a file", {Local("/写真 #1/a.jpg")}, "/写真 #1"},
        {"link to a folder", {Local("/to-folder")}, "/写真 #1"},
        {"link to a file", {Local("/to-file")}, "/other"},
        {"dangling link", {Local("/other/dangling")}, "/other"},
        {"nothing there", {Local("/none/x")}, "/none/x"},
        {"two files", {Local("/other/b.jpg"), Local("/写真 #1/a.jpg")}, "/other"},
        {"a link and a file", {Local("/to-folder"), Local("/other/b.jpg")}, ""},
        {"a folder and a file", {Local("/other"), Local("/写真 #1/a.jpg")}, "/other"},
        {"web page", {QUrl(QStringLiteral("https://example.org/a/"))}, nullptr},

        {"web page first",
         {QUrl(QStringLiteral("https://example.org/")), Local("/other/b.jpg")},
         "/other"},
    };
    for (const Case& c : cases) {
        QMimeData data;
        data.setUrls(c.urls);
        const QString expected = c.expected ? root + QString::fromUtf8(c.expected) : QString();
        EXPECT_EQ(DropFolder(&data, tools), expected) << c.what;
    }
    QMimeData text;
    text.setText(root);
    EXPECT_EQ(DropFolder(&text, tools), QString());
    // A folder whose name is not UTF-8 is the folder of those very bytes.
    QMimeData sjis;
    sjis.setUrls({QUrl::fromEncoded("file://" + QFile::encodeName(root) + "/%82%A0")});
    EXPECT_EQ(DropFolder(&sjis, tools), root + u'/' + kSjis);
}

// The desktop is asked with the file URL of what exists, and not at all for
// what does not.
TEST_F(ShellFixture, ShellOpenAsksTheDesktopForExistingItems) {
    test::OpenedUrls opened;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "Open");
    const QString folder = root + QStringLiteral("/写真 #1/100%");
    const QString file = root + QStringLiteral("/写真 #1/a.jpg");
    EXPECT_TRUE(ShellOpen(folder, fs));
    EXPECT_TRUE(ShellOpen(u'"' + file + u'"', fs));
    EXPECT_FALSE(ShellOpen(root + QStringLiteral("/missing"), fs));
    EXPECT_FALSE(ShellOpen(QString(), fs));
    EXPECT_TRUE(ShellOpen(root + u'/' + kSjis, fs));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(opened.urls.size(), 3);
    EXPECT_EQ(opened.urls[0].toLocalFile(), folder);
    EXPECT_EQ(opened.urls[1].toLocalFile(), file);
    EXPECT_EQ(QByteArray::fromPercentEncoding(opened.urls[2].toEncoded()),
              "file://" + FileSystem::Encode(root + u'/' + kSjis));
}

TEST(TextBoxes, CtrlASelectsTheWholeText) {
    test::EnsureApplication();
    struct Case {
        int key;
        Qt::KeyboardModifiers shift;
        bool selects;
    };
    const Case cases[] = {
        {Qt::Key_A, Qt::ControlModifier, true},
        {Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, true},
        {Qt::Key_A, Qt::NoModifier, false},
        {Qt::Key_A, Qt::AltModifier, false},
        {Qt::Key_B, Qt::ControlModifier, false},
    };
    for (const Case& c : cases) {
        QLineEdit line(QStringLiteral("写真*.jpg"));
        QComboBox combo;
        combo.setEditable(true);
        combo.setEditText(QStringLiteral("*.jpg"));
        EXPECT_EQ(TextKeyDown(&line, c.key, c.shift), c.selects);
        EXPECT_EQ(TextKeyDown(&combo, c.key, c.shift), c.selects);
        EXPECT_EQ(line.selectedText(), c.selects ? line.text() : QString()) << c.key;
        EXPECT_EQ(combo.lineEdit()->selectedText(), c.selects ? combo.currentText() : QString());
    }
}

}  // namespace
