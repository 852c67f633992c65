#include "ui/Translation.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "ui/WidgetApp.h"

namespace {

// The standard buttons and the context menu of the text boxes speak Japanese.
TEST(Translation, QtsOwnTextsAreJapanese) {
    sorvane::test::EnsureApplication();
    ASSERT_TRUE(sorvane::InstallJapaneseTranslation(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
              QStringLiteral("キャンセル"));
    EXPECT_EQ(QCoreApplication::translate("QWidgetTextControl", "&Copy"),
              QStringLiteral("コピー(&C)"));
}

}  // namespace
