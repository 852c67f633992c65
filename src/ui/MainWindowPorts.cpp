#include "ui/MainWindowPorts.h"

#include "ui/frmMain.h"

namespace sorvane {

void MainWindowPorts::SetMainEnabled(bool enabled) {
    mWindow.SetMainEnabled(enabled);
}
void MainWindowPorts::ApplyMainFormOptions(bool refresh) {
    mWindow.SetFormOptions(refresh);
}
void MainWindowPorts::ApplyOptionFormOptions() {
    mWindow.ApplyOptionFormOptions();
}
void MainWindowPorts::ChangePath(const QString& path) {
    mWindow.ChangePath(path);
}
void MainWindowPorts::WindowRefresh() {
    mWindow.WindowRefresh();
}
std::optional<FormValues> MainWindowPorts::Values() const {
    return mWindow.Values();
}
void MainWindowPorts::SetSearchWord(const QString& text) {
    mWindow.SetSearchWord(text);
}
void MainWindowPorts::SetReplaceWord(const QString& text) {
    mWindow.SetReplaceWord(text);
}
void MainWindowPorts::SetBackEnabled(bool enabled) {
    mWindow.SetHistoryEnabled(0, enabled);
}
void MainWindowPorts::SetForwardEnabled(bool enabled) {
    mWindow.SetHistoryEnabled(1, enabled);
}

}  // namespace sorvane
