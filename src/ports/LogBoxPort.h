#pragma once

#include <QString>

namespace sorvane {

// The main window's log box: the one place where the log text lives.
class LogBoxPort {
public:
    virtual ~LogBoxPort() = default;
    virtual void Append(const QString& text) = 0;
    virtual void Clear() = 0;
    virtual QString Text() const = 0;
};

// A log box that only keeps its text: the command line and the tests use it.
class MemoryLogBox : public LogBoxPort {
public:
    void Append(const QString& text) override { mText += text; }
    void Clear() override { mText.clear(); }
    QString Text() const override { return mText; }

private:
    QString mText;
};

}  // namespace sorvane
