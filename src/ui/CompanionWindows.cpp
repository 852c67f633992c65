#include "ui/CompanionWindows.h"

#include <QApplication>

#include "run/ProgramState.h"
#include "ui/DockedWindow.h"

namespace sorvane {

namespace {

// Menus, tooltips and the like are not windows of the program.
bool IsProgramWindow(const QWidget* w) {
    const Qt::WindowType type = w->windowType();
    return type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen &&
           type != Qt::Desktop;
}

}  // namespace

CompanionWindows::CompanionWindows(QWidget& main, const ProgramState& state)
    : mMain(main), mState(state) {}

void CompanionWindows::Loaded(Companion which, QWidget* window, DockedWindow* docked) {
    mSlots[size_t(which)] = Slot{window, docked};
    mLoadOrder.removeIf([window](const QPointer<QWidget>& w) { return !w || w == window; });
    mLoadOrder.append(window);
}

bool CompanionWindows::FlagSet(Companion which) const {
    switch (which) {
        case Companion::Options:
            return mState.gOptionWindow;
        case Companion::Chooser:
            return mState.gSelectOpen;
        case Companion::About:
            return mState.gAboutOpen;
    }
    return false;
}

QWidget* CompanionWindows::Open(Companion which) const {
    const Slot& slot = mSlots[size_t(which)];
    return FlagSet(which) ? slot.window.data() : nullptr;
}

void CompanionWindows::FollowMain() {
    for (const Companion which : {Companion::Options, Companion::Chooser, Companion::About})
        Follow(which);
}

void CompanionWindows::Follow(Companion which) {
    if (Open(which)) mSlots[size_t(which)].docked->FollowForm(&mMain);
}

void CompanionWindows::MainStateChanged(Qt::WindowStates states) {
    if (states & Qt::WindowMinimized) {
        if (mMinimised) return;
        mMinimised = true;
        mHiddenByMinimising.clear();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w == &mMain || !IsProgramWindow(w) || !w->isVisible()) continue;
            mHiddenByMinimising.append(w);
            w->hide();
        }
    } else if (mMinimised) {
        mMinimised = false;
        // A window deleted meanwhile is gone from the list by itself; one
        // opened meanwhile was never in it.
        for (const QPointer<QWidget>& w : std::as_const(mHiddenByMinimising))
            if (w) w->show();
        mHiddenByMinimising.clear();
    }
}

void CompanionWindows::CloseAll() {
    for (qsizetype i = mLoadOrder.size() - 1; i >= 0; --i)
        if (QWidget* w = mLoadOrder[i]) w->close();
    mLoadOrder.clear();
}

void CompanionWindows::SetOptionsEnabled(bool enabled) {
    if (QWidget* options = Open(Companion::Options)) options->setEnabled(enabled);
}

void CompanionWindows::SetOptionsPointer(MousePointer pointer) {
    if (QWidget* options = Open(Companion::Options)) SetPointer(*options, pointer);
}

void SetPointer(QWidget& window, MousePointer pointer) {
    switch (pointer) {
        case MousePointer::Default:
            window.unsetCursor();
            break;
        case MousePointer::Hourglass:
            window.setCursor(Qt::WaitCursor);
            break;
        case MousePointer::ArrowHourglass:
            window.setCursor(Qt::BusyCursor);
            break;
    }
}

}  // namespace sorvane
