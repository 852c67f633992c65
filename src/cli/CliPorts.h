#pragma once

#include <QString>
#include <QTextStream>
#include <chrono>
#include <functional>
#include <optional>

#include "ports/ExpansionChooserPort.h"
#include "ports/FormsPort.h"
#include "ports/MessageBoxPort.h"
#include "ports/OverwriteQuestionPort.h"
#include "ports/ProgressWindowPort.h"
#include "ports/clsCancel.h"

namespace sorvane {

// The answers given on the command line. An empty entry means "not given":
// the question is then asked at the terminal when standard input is one,
// and otherwise takes the default shown beside it.
struct CliAnswers {
    std::optional<OverwriteAnswer> collision;  // default No
    std::optional<bool> max;                   // default No
    std::optional<bool> comma;                 // default No
    std::optional<ExpansionChoice> expansion;  // default cancel
    std::optional<bool> stop;                  // default Yes
};

// What the command line knows of its surroundings. Tests set these instead
// of the process's real terminal.
struct CliIo {
    bool stdinIsTerminal = false;
    bool stderrIsTerminal = false;
    int terminalColumns = 80;
    // One line typed at the terminal, without its line end; empty optional
    // at the end of input or when Ctrl+C was pressed while waiting.
    std::function<std::optional<QString>()> readLine;

    // The real standard input and standard error of this process.
    static CliIo System();
};

// Ctrl+C while a run is in progress is the progress window's "中止(&C)".
// The handler only sets a flag; the progress port polls it.
class CliInterrupt {
public:
    CliInterrupt();   // installs the handler
    ~CliInterrupt();  // puts the previous one back
    CliInterrupt(const CliInterrupt&) = delete;
    CliInterrupt& operator=(const CliInterrupt&) = delete;

    // True once after each Ctrl+C.
    static bool Take();

private:
    struct Saved;
    Saved* mSaved;
};

// Standard error as the program's windows: messages, questions, progress.
class CliConsole {
public:
    CliConsole(QTextStream& err, const CliIo& io, const CliAnswers& answers);

    QTextStream& err;
    const CliIo& io;
    const CliAnswers& answers;

    // Writes one message or question: the title, ": " and the text, with
    // "\n" line ends.
    void WriteMessage(const QString& title, const QString& text);
    // Asks at the terminal until one of the choices is typed. choices are
    // the button captions with their key letter in parentheses ("はい(Y)").
    // Returns the index chosen, defaultIndex for an empty line, or -1 at
    // the end of input or on Ctrl+C.
    int AskAtTerminal(const QStringList& choices, int defaultIndex);
    // The note after a question answered without asking.
    void WriteAnswerNote(const QString& answer, const QString& option, const QString& values);

    // The progress line, when standard error is a terminal.
    void DrawProgress(const QString& line);
    void EraseProgress();

private:
    bool mProgressShown = false;
};

// Message boxes: written to standard error; questions are answered from
// the command line, at the terminal, or by their defaults.
class CliMessageBox : public MessageBoxPort {
public:
    explicit CliMessageBox(CliConsole& console) : mConsole(console) {}
    MsgAnswer Show(const MessageRequest& request) override;

private:
    CliConsole& mConsole;
};

// The overwrite question (--answer-collision).
class CliOverwriteQuestion : public OverwriteQuestionPort {
public:
    explicit CliOverwriteQuestion(CliConsole& console) : mConsole(console) {}
    OverwriteAnswer Ask(const QString& caption, const QString& label) override;

private:
    CliConsole& mConsole;
};

// The expansion chooser (--answer-expansion); the display-only window
// becomes the three views written to standard error.
class CliExpansionChooser : public ExpansionChooserPort {
public:
    explicit CliExpansionChooser(CliConsole& console) : mConsole(console) {}
    ExpansionChoice Choose(const ExpansionViews& views, const QString& message) override;
    void Display(const ExpansionViews& views) override;
    void Beep() override;

private:
    CliConsole& mConsole;
};

// The progress window: one line on standard error, redrawn at most ten
// times a second, when standard error is a terminal. Ctrl+C reaches the
// run here, at the next pending-events run, as a click on "中止(&C)".
class CliProgressWindow : public ProgressWindowPort {
public:
    explicit CliProgressWindow(CliConsole& console) : mConsole(console) {}
    void Attach(clsCancel* owner) { mOwner = owner; }

    void SetCaption(const QString& caption) override;
    void SetTitle(const QString& title) override;
    void SetText(const QString& text) override;
    void Show() override;
    void Hide() override;
    void ProcessEvents() override;
    bool WantsTexts() const override;

private:
    void Changed() { mDirty = true; }

    CliConsole& mConsole;
    clsCancel* mOwner = nullptr;
    QString mCaption;
    QString mTitle;
    QString mText;
    bool mVisible = false;
    bool mJustShown = false;  // the pump that follows Show() leaves Ctrl+C pending
    bool mDirty = false;
    std::chrono::steady_clock::time_point mLastDraw{};
};

// No windows: nothing to enable, fill or refresh.
class CliForms : public FormsPort {
public:
    void SetMainEnabled(bool) override {}
    void ApplyMainFormOptions(bool) override {}
    void ApplyOptionFormOptions() override {}
};

}  // namespace sorvane
