#pragma once

#include <QStringList>

#include "ports/FormsPort.h"

namespace sorvane {

// Records, in order, what the run control asked of the windows.
class ScriptedForms : public FormsPort {
public:
    void SetMainEnabled(bool enabled) override {
        calls.append(enabled ? QStringLiteral("enable") : QStringLiteral("disable"));
    }
    void ApplyMainFormOptions(bool refresh) override {
        calls.append(refresh ? QStringLiteral("main refresh") : QStringLiteral("main"));
    }
    void ApplyOptionFormOptions() override { calls.append(QStringLiteral("options")); }
    void ChangePath(const QString& path) override { calls.append(QStringLiteral("path ") + path); }
    void WindowRefresh() override { calls.append(QStringLiteral("refresh")); }
    std::optional<FormValues> Values() const override { return values; }

    QStringList calls;
    std::optional<FormValues> values;  // none: a front end without windows
};

}  // namespace sorvane
