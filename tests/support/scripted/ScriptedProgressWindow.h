#pragma once

#include <QStringList>
#include <functional>

#include "ports/ProgressWindowPort.h"

namespace sorvane {

// A progress window without a screen. It records what it was told to show;
// onProcessEvents runs at every event pump, with the number of the pump
// (1, 2, ...), so a test can press "中止(&C)" at a chosen moment.
class ScriptedProgressWindow : public ProgressWindowPort {
public:
    void SetCaption(const QString& text) override { captions.append(text); }
    void SetTitle(const QString& text) override { titles.append(text); }
    void SetText(const QString& text) override { texts.append(text); }
    void Show() override {
        visible = true;
        ++shows;
    }
    void Hide() override {
        visible = false;
        ++hides;
    }
    void ProcessEvents() override {
        ++pumps;
        if (onProcessEvents) onProcessEvents(pumps);
    }

    std::function<void(int)> onProcessEvents;
    QStringList captions;
    QStringList titles;
    QStringList texts;
    bool visible = false;
    int shows = 0;
    int hides = 0;
    int pumps = 0;
};

}  // namespace sorvane
