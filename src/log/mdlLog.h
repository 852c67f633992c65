#pragma once

#include <QDateTime>
#include <QFlags>
#include <QString>
#include <functional>

class QFile;

namespace sorvane {

class FileSystem;
class LogBoxPort;
class mdlOptions;
class mdlTools;

// What went wrong in a save (LogSaveErrors).
enum class LogSaveError {
    Folder = 1,    // the log folder could not be created
    InfoFile = 2,  // the information file could not be written
    Options = 4,   // the settings copy could not be written
    MainLog = 8,   // the main log could not be written
    Name = 16,     // no free file name was found
};
Q_DECLARE_FLAGS(LogSaveErrorFlags, LogSaveError)
Q_DECLARE_OPERATORS_FOR_FLAGS(LogSaveErrorFlags)

// The log information record of the last run (what was done, how it ended
// and when) and the saving of the log as three files in the log folder.
//
// The saved files are never replaced: each is written under a temporary name
// beside it and then moved to its own name by a move that never replaces, so
// a name holds a complete file or nothing.
class mdlLog {
public:
    // The files are named after the settings table's ExeName (the
    // executable's file name without extension), read at every save.
    mdlLog(const FileSystem& fs, const mdlTools& tools, mdlOptions& options,
           const LogBoxPort& logBox);
    mdlLog(const mdlLog&) = delete;
    mdlLog& operator=(const mdlLog&) = delete;

    // The log folder (gLogPath). A save sets it to its on-disk spelling.
    const QString& LogPath() const { return mLogPath; }
    void SetLogPath(const QString& folder) { mLogPath = folder; }

    QString LogOperation;
    QString LogStatus;
    QString LogStartTime;
    double LogStartTimer = 0;
    QString LogEndTime;
    double LogEndTimer = 0;
    double LogSeconds = 0;
    LogSaveErrorFlags LogSaveErrors;
    QString LogSaveErrorText;

    // The local date and time; tests set a clock of their own.
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };

    void InitLogInfo(const QString& status);
    void StartLogInfo(const QString& operation);
    void EndLogInfo(const QString& status);

    // Saves the information file (".txt"), the settings copy (".ini") and the
    // log text (".log") under the first free name; returns LogSaveErrors.
    LogSaveErrorFlags SaveLogFiles(bool manual);
    // Each writes a new file at path and is false when it could not be
    // written whole, and when something already exists at path.
    bool WriteLogInfoFile(const QString& path, bool manual);
    bool SaveLogOptions(const QString& path);
    bool SaveMainLog(const QString& path);

    // base followed by the first counter "00" to "99" for which neither that
    // name nor that name with any extension exists; "" when all are taken.
    QString FreeLogName(const QString& base) const;

private:
    void AddSaveError(LogSaveError error, const QString& line);
    bool WriteNewFile(const QString& path, const QByteArray& bytes) const;
    bool PublishFile(const QString& path, const std::function<bool(QFile& temporary)>& write) const;

    const FileSystem& mFs;
    const mdlTools& mTools;
    mdlOptions& mOptions;
    const LogBoxPort& mLogBox;
    QString mLogPath;
    QDateTime mStartMoment;  // of the last StartLogInfo; invalid before any
};

// A number of the log record as it is written: plain decimal notation with
// "." and no trailing zeros, a whole number without a fraction.
QString FormatLogNumber(double value);

// Seconds since local midnight of moment, to the millisecond.
double SecondsSinceMidnight(const QDateTime& moment);

}  // namespace sorvane
