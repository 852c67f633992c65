#pragma once

#include <QString>
#include <QStringList>

namespace sorvane {

// The main window's log box: the one place where the log text lives.
class LogBoxPort {
public:
    virtual ~LogBoxPort() = default;
    // Takes the text: a long log handed over is moved, not copied.
    virtual void Append(QString text) = 0;
    virtual void Clear() = 0;
    virtual QString Text() const = 0;
};

// A log box that only keeps its text: the command line and the tests use it.
// It keeps the texts as they were appended, so that a run's log lies in
// memory once; Text() joins them.
class MemoryLogBox : public LogBoxPort {
public:
    void Append(QString text) override {
        if (!text.isEmpty()) mPieces.append(std::move(text));
    }
    void Clear() override { mPieces.clear(); }
    QString Text() const override { return mPieces.join(QString()); }
    const QStringList& Pieces() const { return mPieces; }

private:
    QStringList mPieces;
};

}  // namespace sorvane
