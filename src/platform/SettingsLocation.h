#pragma once

#include <QString>

namespace fareboard {

// Where the settings file `<baseName>.in4` lives. Next to the executable, as always, when a
// file is already there or the folder can be written (a build tree, a portable copy). An
// installed program cannot write its folder, so it keeps the file in the user's configuration
// folder instead: <config home>/<baseName>/<baseName>.in4, the folder made when missing so
// that the save at exit succeeds.
QString settingsFileLocation(const QString& exeDir, const QString& baseName);

// The same with the configuration home given, for callers that know it (and for tests).
QString settingsFileLocation(const QString& exeDir, const QString& baseName, const QString& configHome);

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
QString userConfigHome();

// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share: where the routes a user
// imports are kept.
QString userDataHome();

}  // namespace fareboard
