#pragma once

#include <QString>

namespace sorvane {

// The log information record of the last run: what was done, how it ended
// and when.
class mdlLog {
public:
    QString LogOperation;
    QString LogStatus;
    QString LogStartTime;
    double LogStartTimer = 0;
    QString LogEndTime;
    double LogEndTimer = 0;
    double LogSeconds = 0;
    int LogSaveErrors = 0;
    QString LogSaveErrorText;

    void InitLogInfo(const QString& status);
};

}  // namespace sorvane
