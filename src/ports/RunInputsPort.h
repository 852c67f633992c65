#pragma once

#include <QString>

namespace sorvane {

// Check box values: 0 unchecked, 1 checked, 2 greyed.
constexpr int kUnchecked = 0;
constexpr int kChecked = 1;
constexpr int kGrayed = 2;

// The run inputs of the main window as a run reads them at its start, and
// the two word boxes that the pre-run check writes the display forms back to.
class RunInputsPort {
public:
    virtual ~RunInputsPort() = default;
    virtual QString SearchWord() const = 0;                  // txtBfr
    virtual QString ReplaceWord() const = 0;                 // txtAft
    virtual void SetSearchWord(const QString& text) = 0;     // txtBfr
    virtual void SetReplaceWord(const QString& text) = 0;    // txtAft
    virtual int RecursiveValue() const = 0;                  // chkR
    virtual int DeleteValue() const = 0;                     // chkD
    virtual bool DeleteEnabled() const = 0;                  // chkD
    virtual int TextModeValue() const = 0;                   // chkBS
    virtual bool WholeNameSelected() const = 0;              // optM index 1
    virtual int QuickListValue() const = 0;                  // chkErrNoChk
    virtual bool QuickListEnabled() const = 0;               // chkErrNoChk
};

}  // namespace sorvane
