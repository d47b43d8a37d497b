// Writes a generated GTFS-JP feed for trying the import on a large feed by hand.
// Usage: gtfs_feed_generator ROUTES OUTDIR (500 routes make 59 MB).
#include "FeedGenerator.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3 || std::atoi(argv[1]) < 1) {
        std::fprintf(stderr, "Usage: gtfs_feed_generator ROUTES OUTDIR\n");
        return 2;
    }
    if (!fareboard::bench::writeGeneratedFeed(QString::fromLocal8Bit(argv[2]), std::atoi(argv[1]))) {
        std::fprintf(stderr, "gtfs_feed_generator: cannot write the feed into %s\n", argv[2]);
        return 1;
    }
    return 0;
}
