#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
#include <array>

namespace sorvane {

class DockedWindow;
struct WindowFlags;

// The companions of the main window in the order they follow it.
enum class Companion { Options, Chooser, About, Preview, Repair, History };

// The shapes of the pointer over the main window and the options window.
enum class MousePointer { Default, Hourglass, ArrowHourglass };

// Keeps the companion windows beside the main window: each docks by its own
// rule whenever the main window moves, while its open flag in the program
// state is set; minimising the main window hides every other window of the
// program and restoring gives back to each, by identity, the visibility it
// had; closing the main window closes the companions, the one loaded last
// first. The options window and the preview go busy with the main window.
class CompanionWindows : public QObject {
public:
    CompanionWindows(QWidget& main, const WindowFlags& state);

    // A companion has loaded. The window is watched: once deleted it counts
    // as closed whatever its flag says.
    template <typename Window>
    void Loaded(Companion which, Window* window) {
        Loaded(which, window, window);
    }
    void Loaded(Companion which, QWidget* window, DockedWindow* docked);

    // The open companion, or nullptr.
    QWidget* Open(Companion which) const;

    // The main window moved: the options window, the chooser, the version
    // window, the preview and the repair window follow, in that order. The
    // preview docks below the chooser while the chooser is open, the repair
    // window below the preview while that is open.
    void FollowMain();
    // One companion docks again, when it is open.
    void Follow(Companion which);

    // The main window's state changed.
    void MainStateChanged(Qt::WindowStates states);
    // The main window closes.
    void CloseAll();

    // frmMainEnable and frmMainMousePointer for the options window and
    // the preview, the repair and the history windows, which go busy with
    // the main window.
    void SetCompanionsEnabled(bool enabled);
    void SetCompanionsPointer(MousePointer pointer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FlagSet(Companion which) const;

    struct Slot {
        QPointer<QWidget> window;
        DockedWindow* docked = nullptr;  // the same object as window
    };
    QWidget& mMain;
    const WindowFlags& mState;
    std::array<Slot, 6> mSlots;
    QList<QPointer<QWidget>> mLoadOrder;
    QList<QPointer<QWidget>> mHiddenByMinimising;
    bool mMinimised = false;
    // Where each window was placed when it was shown, until it is on screen.
    struct Placement {
        QPointer<QWidget> window;
        QPoint at;
    };
    QList<Placement> mPlacedAt;
};

// The cursor shape of a pointer.
void SetPointer(QWidget& window, MousePointer pointer);

}  // namespace sorvane
