#pragma once

#include <QString>
#include <vector>

#include "run/RunJournal.h"
#include "ui/CompanionDialog.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace sorvane {

struct WindowFlags;

// The history window "変換の履歴": the runs whose journals are kept, the
// newest first, each with its time, start folder, operation and words,
// counts and state; a journal that cannot be read is listed with its file
// name. "戻す(&Z)" asks the main window to restore the chosen run from its
// journal; the window says first how many later runs may have changed the
// same items. Loaded, it sets gHistoryOpen; it docks to the right of the
// main window, below the options window while that is open, and goes busy
// with it.
class frmHistory : public CompanionDialog {
    Q_OBJECT
public:
    frmHistory(const QString& journalFolder, QWidget& mainWindow, WindowFlags& flags);

    // Reads the journals again (after a run or a restore).
    void Reload();
    // Beside form.
    void FollowForm(const QWidget* form) override;

Q_SIGNALS:
    // "戻す(&Z)": restore the run of this journal.
    void RestoreAsked(const QString& journal);

private:
    void SelectionChanged();
    // The runs kept after row's that were not undone: each may have changed
    // the items of row's run since.
    int LaterRuns(int row) const;

    const WindowFlags& mState;
    const QString mFolder;
    std::vector<HistoryEntry> mEntries;
    QTableWidget* lstHistory = nullptr;
    QLabel* lblNote = nullptr;
    QPushButton* cmdRestore = nullptr;
};

}  // namespace sorvane
