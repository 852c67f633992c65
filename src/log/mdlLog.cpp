#include "log/mdlLog.h"

namespace sorvane {

void mdlLog::InitLogInfo(const QString& status) {
    LogOperation.clear();
    LogStartTime.clear();
    LogEndTime.clear();
    LogSaveErrorText.clear();
    LogStartTimer = 0;
    LogEndTimer = 0;
    LogSeconds = 0;
    LogSaveErrors = 0;
    LogStatus = status;
}

}  // namespace sorvane
