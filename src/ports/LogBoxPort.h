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

    // A box that writes the text out as it comes takes a long log in
    // pieces as it is built, so that no one holds the whole of it; any
    // other box takes it whole.
    virtual bool TakesPieces() const { return false; }
    // Where the text ends now, and taking back everything appended after
    // such a place: how a log that fails half-written in pieces leaves
    // the box as it was. Only a box that takes pieces is asked.
    virtual qint64 Mark() const { return 0; }
    virtual void TakeBack(qint64 /*mark*/) {}
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
    qint64 Mark() const override { return mPieces.size(); }
    void TakeBack(qint64 mark) override { mPieces.resize(mark); }
    const QStringList& Pieces() const { return mPieces; }

private:
    QStringList mPieces;
};

}  // namespace sorvane
