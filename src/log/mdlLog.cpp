#include "log/mdlLog.h"

#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <cmath>

#include "platform/FileSystem.h"
#include "platform/MakeFolders.h"
#include "platform/ShownName.h"
#include "platform/TextCodec.h"
#include "platform/mdlTools.h"
#include "ports/LogBoxPort.h"
#include "settings/mdlOptions.h"

namespace sorvane {

namespace {

const QString kNewLine = QStringLiteral("\r\n");
const QString kStampFormat = QStringLiteral("yyyyMMddHHmmss");

// Every kind of entry blocks a name: read-only, hidden, system, folder, file.
constexpr int kAnyEntry = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrFolder | kAttrArchive;

// Attempts at a free temporary name before giving up.
constexpr int kTemporaryAttempts = 8;

QString Stamp(const QDateTime& moment, double timer) {
    return moment.toString(kStampFormat) + QStringLiteral(" / ") + FormatLogNumber(timer);
}

qint64 Milliseconds(double seconds) {
    return std::llround(seconds * 1000.0);
}

}  // namespace

QString FormatLogNumber(double value) {
    // Also turns -0 into "0".
    if (value == 0 || !std::isfinite(value)) return QStringLiteral("0");
    // The shortest text that reads back as the same number, never in
    // exponent form.
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

double SecondsSinceMidnight(const QDateTime& moment) {
    return moment.time().msecsSinceStartOfDay() / 1000.0;
}

mdlLog::mdlLog(const FileSystem& fs, const mdlTools& tools, mdlOptions& options,
               const LogBoxPort& logBox)
    : mFs(fs), mTools(tools), mOptions(options), mLogBox(logBox) {}

void mdlLog::InitLogInfo(const QString& status) {
    LogOperation.clear();
    LogStartTime.clear();
    LogEndTime.clear();
    LogSaveErrorText.clear();
    LogStartTimer = 0;
    LogEndTimer = 0;
    LogSeconds = 0;
    LogSaveErrors = {};
    LogStatus = status;
    mStartMoment = QDateTime();
}

void mdlLog::StartLogInfo(const QString& operation) {
    const QDateTime now = Now();
    LogOperation = operation;
    LogStartTimer = SecondsSinceMidnight(now);
    LogStartTime = Stamp(now, LogStartTimer);
    LogStatus.clear();
    mStartMoment = now;
}

void mdlLog::EndLogInfo(const QString& status) {
    const QDateTime now = Now();
    LogStatus = status;
    LogEndTimer = SecondsSinceMidnight(now);
    LogEndTime = Stamp(now, LogEndTimer);
    // The time between the two moments, so that a run across midnight does
    // not show a negative duration. Counted in whole milliseconds, so that
    // the text carries no binary rounding noise ("10.711", not
    // "10.710999999996857").
    const qint64 elapsed = mStartMoment.isValid()
                               ? mStartMoment.msecsTo(now)
                               : Milliseconds(LogEndTimer) - Milliseconds(LogStartTimer);
    LogSeconds = elapsed / 1000.0;
}

QString mdlLog::FreeLogName(const QString& base) const {
    for (int n = 0; n < 100; ++n) {
        const QString candidate = base + QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        if (!mFs.Exists(candidate) && !mFs.EntryExists(candidate + QStringLiteral(".*"), kAnyEntry))
            return candidate;
    }
    return {};
}

// Each line quotes its path in its shown form (ShownName): the text goes
// into a message box.
void mdlLog::AddSaveError(LogSaveError error, const QString& line) {
    LogSaveErrors |= error;
    LogSaveErrorText += line + kNewLine;
}

LogSaveErrorFlags mdlLog::SaveLogFiles(bool manual) {
    LogSaveErrors = {};
    LogSaveErrorText.clear();
    const QString folder = mLogPath;
    const QString base = FileSystem::BuildPath(
        folder, mOptions.ExeName + QStringLiteral("_Log_") + Now().toString(kStampFormat));

    const QString name = FreeLogName(base);
    if (name.isEmpty()) {
        AddSaveError(LogSaveError::Name,
                     QStringLiteral("！ログファイル名の重複により、保存が出来ませんでした：'") +
                         ShownName(folder) + u'\'');
        return LogSaveErrors;
    }
    if (!MakeFolders(mFs, folder)) {
        AddSaveError(LogSaveError::Folder, QStringLiteral("！ログフォルダの作成に失敗しました：'") +
                                               ShownName(folder) + u'\'');
        return LogSaveErrors;
    }

    // Each file is tried whatever became of the one before.
    const QString infoPath = name + QStringLiteral(".txt");
    if (!WriteLogInfoFile(infoPath, manual)) {
        AddSaveError(LogSaveError::InfoFile,
                     QStringLiteral("！ログ情報ファイルの作成に失敗しました：'") +
                         ShownName(infoPath) + u'\'');
    }
    const QString optionsPath = name + QStringLiteral(".ini");
    if (!SaveLogOptions(optionsPath)) {
        AddSaveError(LogSaveError::Options,
                     QStringLiteral("！設定ファイルの作成に失敗しました：'") +
                         ShownName(optionsPath) + u'\'');
    }
    const QString logPath = name + QStringLiteral(".log");
    if (!SaveMainLog(logPath)) {
        AddSaveError(LogSaveError::MainLog,
                     QStringLiteral("！メインログファイルの作成に失敗しました：'") +
                         ShownName(logPath) + u'\'');
    }

    // A spelling that cannot be found keeps the folder as it was given.
    const QString spelled = mTools.TruePath(folder);
    if (!spelled.isEmpty()) mLogPath = spelled;
    return LogSaveErrors;
}

bool mdlLog::WriteLogInfoFile(const QString& path, bool manual) {
    // The names are written as text lines: in their shown form.
    const QString baseName = ShownName(FileSystem::GetBaseName(path));
    QString text;
    const auto line = [&text](const QString& content) { text += content + kNewLine; };
    line(QStringLiteral("[ログ情報]"));
    line(QStringLiteral("保存=") +
         (manual ? QStringLiteral("手動(処理後、ユーザにより設定が変更されているかもしれません。)")
                 : QStringLiteral("自動")));
    line(QStringLiteral("操作内容=") + LogOperation);
    line(QStringLiteral("終了状況=") + LogStatus);
    line(QStringLiteral("開始時刻=") + LogStartTime);
    line(QStringLiteral("終了時刻=") + LogEndTime);
    line(QStringLiteral("処理時間(秒)=") + FormatLogNumber(LogSeconds));
    line(QStringLiteral("ログパス=") + ShownName(mLogPath));
    line(QStringLiteral("ログ情報ファイル=") + ShownName(FileSystem::GetFileName(path)));
    line(QStringLiteral("ログファイル=") + baseName + QStringLiteral(".log"));
    line(QStringLiteral("ログ保存時の設定ファイル=") + baseName + QStringLiteral(".ini"));
    return WriteNewFile(path, EncodeTextFile(text));
}

bool mdlLog::SaveLogOptions(const QString& path) {
    // The settings module writes the temporary name (it replaces whatever is
    // at the name it is given); only the move puts the copy at its own name.
    bool made = false;
    const bool saved = PublishFile(path, [this, &made](QFile& temporary) {
        made = true;
        temporary.close();
        return mOptions.SaveOptionFile(temporary.fileName());
    });
    // The settings module reports a copy it could not write; one that could
    // not even be made is reported as the settings file's own open error.
    if (!made) mOptions.ShowOpenError(path);
    return saved;
}

bool mdlLog::SaveMainLog(const QString& path) {
    return WriteNewFile(path, EncodeTextFile(mLogBox.Text()));
}

bool mdlLog::WriteNewFile(const QString& path, const QByteArray& bytes) const {
    return PublishFile(path, [&bytes](QFile& temporary) {
        return temporary.write(bytes) == bytes.size() && temporary.flush();
    });
}

bool mdlLog::PublishFile(const QString& path,
                         const std::function<bool(QFile& temporary)>& write) const {
    if (path.isEmpty() || mFs.Exists(path)) return false;

    // A new, empty file of our own beside path (created exclusively).
    QFile temporary;
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const QString candidate = path + QStringLiteral(".tmp") +
                                  QString::number(QRandomGenerator::global()->generate(), 16);
        temporary.setFileName(candidate);
        if (temporary.open(QIODevice::WriteOnly | QIODevice::NewOnly)) break;
        // Not taken, so the folder refuses new files: no point in retrying.
        if (!mFs.Exists(candidate)) return false;
    }
    if (!temporary.isOpen()) return false;

    bool written = write(temporary);
    if (temporary.isOpen()) {
        temporary.close();
        written = written && temporary.error() == QFileDevice::NoError;
    }
    if (written && mFs.MoveItem(temporary.fileName(), path) == MoveStatus::Ok) return true;
    // Only the temporary, which this save made, is removed.
    QFile::remove(temporary.fileName());
    return false;
}

}  // namespace sorvane
