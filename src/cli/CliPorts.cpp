#include "cli/CliPorts.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QByteArray>
#include <algorithm>
#include <csignal>
#include <utility>
#include <vector>

#include "platform/ShownName.h"

namespace sorvane {

using namespace Qt::StringLiterals;

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

// The progress line is drawn at most ten times a second.
constexpr auto kRedraw = std::chrono::milliseconds(100);

extern "C" void OnInterrupt(int) {
    gInterrupted = 1;
}

// Reads one line from standard input, waiting in short polls so that a
// Ctrl+C ends the wait even though the handler restarts system calls.
std::optional<QString> ReadTerminalLine() {
    QByteArray line;
    for (;;) {
        if (CliInterrupt::Take()) return std::nullopt;
        pollfd p{STDIN_FILENO, POLLIN, 0};
        const int ready = ::poll(&p, 1, 200);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return std::nullopt;
        if (ready == 0) continue;
        char c = 0;
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            return line.isEmpty() ? std::nullopt : std::optional(QString::fromLocal8Bit(line));
        if (c == '\n') return QString::fromLocal8Bit(line);
        line.append(c);
    }
}

int TerminalColumns() {
    winsize size{};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

// Columns a character takes on a terminal: the East Asian wide ranges two.
int CharWidth(char16_t c) {
    if (c < 0x1100) return 1;
    if (c <= 0x115F || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
        (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
        (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6))
        return 2;
    return 1;
}

// The line cut to the width, with control characters (a name may hold a
// line break) in their shown form so that the line stays one line.
QString FitLine(const QString& line, int columns) {
    const QString shown = ShownName(line);
    int used = 0;
    qsizetype end = 0;
    for (; end < shown.size(); ++end) {
        const int w = CharWidth(shown[end].unicode());
        if (used + w > columns) break;
        used += w;
    }
    return shown.left(end);
}

QString Lf(const QString& text) {
    QString t = text;
    t.replace(u"\r\n"_s, u"\n"_s);
    return t;
}

QString CaptionOf(MsgAnswer answer) {
    switch (answer) {
        case MsgAnswer::OK:
            return u"OK(O)"_s;
        case MsgAnswer::Cancel:
            return u"キャンセル(C)"_s;
        case MsgAnswer::Yes:
            return u"はい(Y)"_s;
        case MsgAnswer::No:
            return u"いいえ(N)"_s;
        case MsgAnswer::Retry:
            return u"再試行(R)"_s;
        case MsgAnswer::Abort:
            return u"中止(A)"_s;
        case MsgAnswer::Ignore:
            return u"無視(I)"_s;
    }
    return QString();
}

// The caption without its key letter: "はい(Y)" -> "はい".
QString Bare(const QString& caption) {
    const qsizetype open = caption.lastIndexOf(u'(');
    return open > 0 ? caption.left(open) : caption;
}

}  // namespace

// --- CliIo -----------------------------------------------------------------

CliIo CliIo::System() {
    CliIo io;
    io.stdinIsTerminal = ::isatty(STDIN_FILENO) == 1;
    io.stderrIsTerminal = ::isatty(STDERR_FILENO) == 1;
    io.terminalColumns = io.stderrIsTerminal ? TerminalColumns() : 80;
    io.readLine = ReadTerminalLine;
    return io;
}

// --- CliInterrupt ----------------------------------------------------------

struct CliInterrupt::Saved {
    struct sigaction previous {};
};

CliInterrupt::CliInterrupt() : mSaved(new Saved) {
    gInterrupted = 0;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &mSaved->previous);
}

CliInterrupt::~CliInterrupt() {
    ::sigaction(SIGINT, &mSaved->previous, nullptr);
    delete mSaved;
}

bool CliInterrupt::Take() {
    if (!gInterrupted) return false;
    gInterrupted = 0;
    return true;
}

// --- CliConsole ------------------------------------------------------------

CliConsole::CliConsole(QTextStream& e, const CliIo& i, const CliAnswers& a)
    : err(e), io(i), answers(a) {}

void CliConsole::WriteMessage(const QString& title, const QString& text) {
    EraseProgress();
    err << title << u": "_s << Lf(text) << u'\n';
    err.flush();
}

int CliConsole::AskAtTerminal(const QStringList& choices, int defaultIndex) {
    if (!io.readLine) return -1;
    for (;;) {
        err << choices.join(u" / "_s) << u"  [Enter: "_s << Bare(choices.value(defaultIndex))
            << u"] > "_s;
        err.flush();
        const std::optional<QString> line = io.readLine();
        if (!line) {
            err << u'\n';
            err.flush();
            return -1;
        }
        const QString typed = line->trimmed();
        if (typed.isEmpty()) return defaultIndex;
        for (int i = 0; i < choices.size(); ++i) {
            const QString& c = choices[i];
            const QString key = c.mid(c.lastIndexOf(u'(') + 1, 1);
            if (typed.compare(key, Qt::CaseInsensitive) == 0 || typed == c || typed == Bare(c))
                return i;
        }
    }
}

void CliConsole::WriteAnswerNote(const QString& answer, const QString& option,
                                 const QString& values) {
    err << u"→ "_s << Bare(answer);
    if (!option.isEmpty()) err << u" ("_s << option << u' ' << values << u')';
    err << u'\n';
    err.flush();
}

void CliConsole::DrawProgress(const QString& line) {
    if (!io.stderrIsTerminal) return;
    err << u'\r' << FitLine(line, io.terminalColumns - 1) << u"\x1b[K"_s;
    err.flush();
    mProgressShown = true;
}

void CliConsole::EraseProgress() {
    if (!mProgressShown) return;
    err << u"\r\x1b[K"_s;
    err.flush();
    mProgressShown = false;
}

// --- CliMessageBox ---------------------------------------------------------

MsgAnswer CliMessageBox::Show(const MessageRequest& request) {
    mConsole.WriteMessage(request.title, request.text);
    const std::vector<MsgAnswer> buttons = ButtonAnswers(request.buttons);
    if (buttons.size() == 1) return buttons.front();

    const CliAnswers& given = mConsole.answers;
    const auto yesNo = [](bool yes) { return yes ? MsgAnswer::Yes : MsgAnswer::No; };
    std::optional<bool> option;
    QString optionName;
    MsgAnswer fallback = DefaultAnswer(request);  // also where the terminal gives no answer
    switch (request.id) {
        case MessageId::StopQuestion:
            option = given.stop;
            optionName = u"--answer-stop"_s;
            fallback = MsgAnswer::Yes;  // Ctrl+C means stop unless told otherwise
            break;
        case MessageId::CommaQuestion:
            option = given.comma;
            optionName = u"--answer-comma"_s;
            fallback = MsgAnswer::No;
            break;
        case MessageId::TooManyTargetsQuestion:
            option = given.max;
            optionName = u"--answer-max"_s;
            fallback = MsgAnswer::No;
            break;
        default:
            break;
    }
    const QString values = u"yes|no"_s;
    if (option) {
        const MsgAnswer answer = yesNo(*option);
        mConsole.WriteAnswerNote(CaptionOf(answer), optionName, values);
        return answer;
    }
    if (mConsole.io.stdinIsTerminal) {
        QStringList captions;
        for (const MsgAnswer a : buttons) captions.append(CaptionOf(a));
        const int defaultIndex = int(DefaultIndex(request));
        const int chosen = mConsole.AskAtTerminal(captions, defaultIndex);
        if (chosen >= 0) return buttons[size_t(chosen)];
    }
    mConsole.WriteAnswerNote(CaptionOf(fallback), optionName, values);
    return fallback;
}

// --- CliOverwriteQuestion --------------------------------------------------

OverwriteAnswer CliOverwriteQuestion::Ask(const QString& caption, const QString& label) {
    mConsole.WriteMessage(caption, label);
    static const OverwriteAnswer kAnswers[] = {OverwriteAnswer::Yes, OverwriteAnswer::No,
                                               OverwriteAnswer::DeleteAll, OverwriteAnswer::KeepAll,
                                               OverwriteAnswer::Cancel};
    const QStringList captions = {u"はい(Y)"_s, u"いいえ(N)"_s, u"全て削除(A)"_s, u"全て残す(S)"_s,
                                  u"中止(C)"_s};
    const auto captionOf = [&](OverwriteAnswer a) {
        for (int i = 0; i < 5; ++i)
            if (kAnswers[i] == a) return captions[i];
        return QString();
    };
    const QString option = u"--answer-collision"_s;
    const QString values = u"yes|no|all|keep|cancel"_s;
    if (const auto given = mConsole.answers.collision) {
        mConsole.WriteAnswerNote(captionOf(*given), option, values);
        return *given;
    }
    if (mConsole.io.stdinIsTerminal) {
        // "いいえ(&N)" is the dialog's default button; Ctrl+C is its "中止(&C)".
        const int chosen = mConsole.AskAtTerminal(captions, 1);
        return chosen >= 0 ? kAnswers[chosen] : OverwriteAnswer::Cancel;
    }
    mConsole.WriteAnswerNote(captionOf(OverwriteAnswer::No), option, values);
    return OverwriteAnswer::No;
}

// --- CliExpansionChooser ---------------------------------------------------

ExpansionChoice CliExpansionChooser::Choose(const ExpansionViews& views, const QString& message) {
    mConsole.WriteMessage(u"置換パターンの選択"_s, message);
    mConsole.err << ExpansionViewsText(views);
    mConsole.err.flush();
    // In the order of the window's buttons.
    static const ExpansionChoice kChoices[] = {ExpansionChoice::Cancel, ExpansionChoice::KeepFirst,
                                               ExpansionChoice::TakeSecond};
    const QStringList captions = {u"中止(C)"_s, u"このまま(R)"_s, u"変えてみる(S)"_s};
    const QString option = u"--answer-expansion"_s;
    const QString values = u"cancel|keep|change"_s;
    if (const auto given = mConsole.answers.expansion) {
        const auto at = std::find(std::begin(kChoices), std::end(kChoices), *given);
        mConsole.WriteAnswerNote(captions.value(int(at - std::begin(kChoices))), option, values);
        return *given;
    }
    if (mConsole.io.stdinIsTerminal) {
        const int chosen = mConsole.AskAtTerminal(captions, 0);
        return chosen >= 0 ? kChoices[chosen] : ExpansionChoice::Cancel;
    }
    mConsole.WriteAnswerNote(captions[0], option, values);
    return ExpansionChoice::Cancel;
}

void CliExpansionChooser::Display(const ExpansionViews& views) {
    mConsole.EraseProgress();
    mConsole.err << u"置換パターンの展開結果:\n"_s << ExpansionViewsText(views);
    mConsole.err.flush();
}

void CliExpansionChooser::Beep() {
    if (!mConsole.io.stderrIsTerminal) return;
    mConsole.err << u'\a';
    mConsole.err.flush();
}

// --- CliProgressWindow -----------------------------------------------------

void CliProgressWindow::SetCaption(const QString& caption) {
    mCaption = caption;
    Changed();
}

void CliProgressWindow::SetTitle(const QString& title) {
    mTitle = title;
    Changed();
}

void CliProgressWindow::SetText(const QString& text) {
    mText = text;
    Changed();
}

void CliProgressWindow::Show() {
    mVisible = true;
    mJustShown = true;
    Changed();
}

void CliProgressWindow::Hide() {
    mVisible = false;
    mConsole.EraseProgress();
}

// Texts are drawn at most every kRedraw, and only on a terminal.
bool CliProgressWindow::WantsTexts() const {
    return mConsole.io.stderrIsTerminal && std::chrono::steady_clock::now() - mLastDraw >= kRedraw;
}

void CliProgressWindow::ProcessEvents() {
    // Showing the window clears the stop flag right after this first pump;
    // a Ctrl+C that is waiting then stays pending for the next one instead
    // of being taken and forgotten.
    const bool justShown = std::exchange(mJustShown, false);
    if (!justShown && CliInterrupt::Take() && mOwner) mOwner->CancelClick();
    if (!mVisible || !mDirty || !mConsole.io.stderrIsTerminal) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - mLastDraw < kRedraw) return;
    mLastDraw = now;
    mDirty = false;
    QString line = mCaption;
    if (!mTitle.isEmpty()) line += u"  "_s + mTitle;
    if (!mText.isEmpty()) line += u"  "_s + mText;
    mConsole.DrawProgress(line);
}

}  // namespace sorvane
