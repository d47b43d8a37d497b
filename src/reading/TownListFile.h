#pragma once

#include "LazyIndexFile.h"
#include "TownList.h"

namespace fareboard {

// The town list the program ships (towns.csv beside it, or in its data folder), read at its
// first look-up; empty when the file is missing, and every town is then read as the
// gazetteer reads it.
class TownListFile : public LazyIndexFile<TownList> {
public:
    static constexpr const char* kFileName = "towns.csv";

    explicit TownListFile(QString path) : LazyIndexFile(std::move(path), &TownList::fromCsv) {}
};

}  // namespace fareboard
