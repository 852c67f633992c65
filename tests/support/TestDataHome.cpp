// Every test keeps the runs' journals in a data folder of its own: a run of
// one test leaves its journal unfinished while it renames, and a test that
// opens the main window at that moment would be offered to restore it.
// CTest gives each test program the same XDG_DATA_HOME; here each test
// case gets its own folder under it. Linked into every test program.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

namespace {

class TestDataHome : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo& test) override {
        if (mBase.isEmpty()) return;
        qputenv("XDG_DATA_HOME", mBase + '/' + test.test_suite_name() + '.' + test.name());
    }

private:
    const QByteArray mBase = qgetenv("XDG_DATA_HOME");
};

const bool kRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestDataHome);
    return true;
}();

}  // namespace
