#pragma once

#include <QString>

namespace fareboard {

// Where the program keeps the routes it imports: <routes home>/<operator>/, one folder per
// operator, so a later feed of the same operator replaces its routes and another operator's
// stay beside them.

// The folder name of an operator: its agency_name with what a file name cannot carry (/, NUL,
// line ends and other control characters) made "_", without leading dots or spaces (no hidden
// folder, no "." or ".."); "feed" when nothing is left.
QString operatorFolderName(const QString& agencyName);

// <routesHome>/<operatorFolderName>/, ending in "/" as the options dialog's folders do.
QString importFolderFor(const QString& routesHome, const QString& agencyName);

// Whether the fare and broadcast folders, as the options dialog holds them, do not both name
// `folder` already (trailing separators and ./ .. spellings aside); the user is asked then
// before they are changed.
bool foldersPointElsewhere(const QString& fareFolder, const QString& tapeFolder, const QString& folder);

// A fresh, empty folder beside `target` to build an import in: hidden, named after it, made
// (with its parents) now. Empty when it cannot be made.
QString makeStagingFolder(const QString& target);

// Puts the finished `staging` folder in the place of `target`, whole: the two are exchanged in
// one step where the file system can, so `target` is at every moment either the old import or
// the new one; then the old one is removed. Returns the host's reason on failure, when
// `target` is as it was and `staging` is left for the caller to remove.
QString replaceFolder(const QString& staging, const QString& target);

// Removes a staging folder and everything in it.
void removeStagingFolder(const QString& staging);

}  // namespace fareboard
