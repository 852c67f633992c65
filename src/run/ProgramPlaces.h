#pragma once

#include <QString>

namespace sorvane {

// Where a copy of the program keeps its settings file and its logs.
//
// A portable copy keeps them in its own folder: the settings file beside the
// executable, the logs in the folder's "Log". A copy that may not write into
// its folder keeps them in the user's folders for the program instead: the
// settings file in $XDG_CONFIG_HOME/sorvane (~/.config/sorvane), the logs in
// $XDG_DATA_HOME/sorvane/Log (~/.local/share/sorvane/Log). So does an
// installed copy (one whose prefix holds its menu entry,
// share/applications/sorvane.desktop), even where its user may write into
// its folder, as root may into /usr/bin: one user's files would otherwise lie
// among the installed ones and stay behind when the package is removed.
// Both programs share the user's folders; each names its file after itself.
struct ProgramPlaces {
    bool portable = true;
    QString settingsFolder;  // the folder of the settings file
    QString dataFolder;      // relative folder settings, "Log" among them, start here
    QString startFolder;     // the window's start when "初期パス" is empty: the program
                             // folder of a portable copy, else the user's home folder
};

// The places of the copy whose program folder is appPath. When the user's
// folders cannot be found (no home folder), the program folder serves.
ProgramPlaces PlacesOf(const QString& appPath);

// The folder of the run journals: the user's data folder for the program +
// "/journal" ($XDG_DATA_HOME/sorvane/journal) for every copy, portable or
// not, so that a restore finds them whichever copy ran; the data folder's
// "journal" when there is no home folder.
QString JournalFolder(const ProgramPlaces& places);

// The help file: readme.txt beside the executable, else where the install
// rules put it (share/doc/sorvane/readme.txt of the prefix); the first when
// neither exists.
QString ReadmePath(const QString& appPath);

}  // namespace sorvane
