#include "ui/frmPreview.h"

#include "run/mdlMain.h"
#include "ui/WindowFlags.h"

namespace sorvane {

using namespace Qt::StringLiterals;

frmPreview::frmPreview(mdlMain& program, QWidget& mainWindow, WindowFlags& flags,
                       PreviewComputer::Compute compute)
    : TableWindow(
          mainWindow, u"変換プレビュー"_s, flags.gPreviewOpen,
          [&program](bool open) { program.SetPreviewWindowOpen(open); }, std::move(compute), 280) {
    // The user goes on typing in the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setObjectName(u"frmPreview"_s);
}

}  // namespace sorvane
