#include "ui/CompanionWindows.h"

#include <QApplication>
#include <QTimer>
#include <QWindow>

#include "ui/DockedWindow.h"
#include "ui/WindowFlags.h"

namespace sorvane {

namespace {

// Menus, tooltips and the like are not windows of the program.
bool IsProgramWindow(const QWidget* w) {
    const Qt::WindowType type = w->windowType();
    return type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen &&
           type != Qt::Desktop;
}

// On X11 only a window manager minimises, and every one of them takes the
// windows that stand by the main window (transient for it) away with it and
// brings back those it took; hiding them as well leaves a window manager
// such as Openbox unable to restore the main window. Those windows are left
// to it.
bool MinimisedWithMain(const QWidget* w, const QWidget& main) {
    return QGuiApplication::platformName() == u"xcb" && w->windowHandle() &&
           w->windowHandle()->transientParent() == main.windowHandle();
}

}  // namespace

CompanionWindows::CompanionWindows(QWidget& main, const WindowFlags& state)
    : mMain(main), mState(state) {}

void CompanionWindows::Loaded(Companion which, QWidget* window, DockedWindow* docked) {
    mSlots[size_t(which)] = Slot{window, docked};
    mLoadOrder.removeIf([window](const QPointer<QWidget>& w) { return !w || w == window; });
    mLoadOrder.append(window);
    window->installEventFilter(this);
}

// A window placed before it is first on screen is placed by its inner
// corner on X11, as the size of its frame is not known yet; it is placed
// again by its frame's corner once it is exposed.
bool CompanionWindows::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        auto* window = qobject_cast<QWidget*>(watched);
        if (window && window->isWindow() && window->windowHandle()) {
            mPlacedAt.append({window, window->pos()});
            window->windowHandle()->installEventFilter(this);
            // The chooser has its frame once it is shown: the preview then
            // goes below it.
            if (window == Open(Companion::Chooser))
                QTimer::singleShot(0, this, [this] { Follow(Companion::Preview); });
        }
    } else if (event->type() == QEvent::Expose) {
        auto* handle = qobject_cast<QWindow*>(watched);
        if (handle && handle->isExposed()) {
            bool placed = false;
            mPlacedAt.removeIf([handle, &placed](const Placement& p) {
                if (!p.window) return true;
                if (p.window->windowHandle() != handle) return false;
                if (p.window->pos() != p.at) p.window->move(p.at);
                placed = true;
                return true;
            });
            // The chooser's frame is known once it is first on screen: the
            // preview goes below it then, and not at every later expose.
            const QWidget* chooser = Open(Companion::Chooser);
            if (placed && chooser && chooser->windowHandle() == handle) Follow(Companion::Preview);
            // The same for the repair window below the preview.
            const QWidget* preview = Open(Companion::Preview);
            if (placed && preview && preview->windowHandle() == handle) Follow(Companion::Repair);
        }
    }
    return QObject::eventFilter(watched, event);
}

bool CompanionWindows::FlagSet(Companion which) const {
    switch (which) {
        case Companion::Options:
            return mState.gOptionWindow;
        case Companion::Chooser:
            return mState.gSelectOpen;
        case Companion::About:
            return mState.gAboutOpen;
        case Companion::Preview:
            return mState.gPreviewOpen;
        case Companion::Repair:
            return mState.gRepairOpen;
        case Companion::History:
            return mState.gHistoryOpen;
    }
    return false;
}

QWidget* CompanionWindows::Open(Companion which) const {
    const Slot& slot = mSlots[size_t(which)];
    return FlagSet(which) ? slot.window.data() : nullptr;
}

void CompanionWindows::FollowMain() {
    for (const Companion which : {Companion::Options, Companion::Chooser, Companion::About,
                                  Companion::Preview, Companion::Repair, Companion::History})
        Follow(which);
}

void CompanionWindows::Follow(Companion which) {
    QWidget* window = Open(which);
    if (!window) return;
    const QWidget* form = &mMain;
    if (which == Companion::Preview || which == Companion::Repair)
        if (const QWidget* chooser = Open(Companion::Chooser)) form = chooser;
    if (which == Companion::Repair)
        if (const QWidget* preview = Open(Companion::Preview)) form = preview;
    mSlots[size_t(which)].docked->FollowForm(form);
    // Not on screen yet: this is where it goes once it is.
    for (Placement& p : mPlacedAt)
        if (p.window == window) p.at = window->pos();
    // What docks below this window goes with it.
    if (which == Companion::Preview) Follow(Companion::Repair);
}

void CompanionWindows::MainStateChanged(Qt::WindowStates states) {
    if (states & Qt::WindowMinimized) {
        if (mMinimised) return;
        mMinimised = true;
        mHiddenByMinimising.clear();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w == &mMain || !IsProgramWindow(w) || !w->isVisible()) continue;
            if (MinimisedWithMain(w, mMain)) continue;
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

void CompanionWindows::SetCompanionsEnabled(bool enabled) {
    for (const Companion which :
         {Companion::Options, Companion::Preview, Companion::Repair, Companion::History})
        if (QWidget* window = Open(which)) window->setEnabled(enabled);
}

void CompanionWindows::SetCompanionsPointer(MousePointer pointer) {
    for (const Companion which :
         {Companion::Options, Companion::Preview, Companion::Repair, Companion::History})
        if (QWidget* window = Open(which)) SetPointer(*window, pointer);
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
