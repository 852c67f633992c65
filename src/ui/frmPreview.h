#pragma once

#include "ui/TableWindow.h"

namespace sorvane {

class mdlMain;
struct WindowFlags;

// The preview window "変換プレビュー": the targets a start pressed now would
// have, with their new names and verdicts, recomputed off the window's
// thread whenever the inputs change (TableWindow). Loaded, it sets
// gPreviewOpen and "プレビュー表示".
class frmPreview : public TableWindow {
    Q_OBJECT
public:
    frmPreview(mdlMain& program, QWidget& mainWindow, WindowFlags& flags,
               PreviewComputer::Compute compute = PreviewPlan);

    // What a start would now take.
    void InputsChanged(PreviewRequest request) { Table().Request(std::move(request)); }
};

}  // namespace sorvane
