#pragma once

#include "operation/FeedImporter.h"

namespace fareboard {

// The import dialog's feeds, read and imported by the GTFS-JP library that fareboard-data gtfs
// also runs: the same patterns, numbers, files and faults as the tool's.
class GtfsFeedImporter final : public FeedImporter {
public:
    std::unique_ptr<FeedListing> list(const QString& feed, ImportProgress& progress) override;
};

}  // namespace fareboard
