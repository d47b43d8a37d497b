#pragma once

#include "ByteSource.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace fareboard::datatool::gtfs {

// A GTFS-JP feed as it is published: a folder of .txt files or a .zip of them (often with the
// files inside one top folder). Names are matched ignoring letter case.
class FeedSource {
public:
    virtual ~FeedSource() = default;

    // The folder or zip at `path`; throws InputError when it is neither or cannot be opened.
    static std::unique_ptr<FeedSource> open(const QString& path);
    // A zip held in memory, named `name` in messages.
    static std::unique_ptr<FeedSource> openZip(const QByteArray& bytes, const QString& name);

    // The file's bytes as a stream, or nullptr when the feed has no such file. A zip entry that
    // claims or unpacks to more than any feed file needs is refused with InputError.
    virtual std::unique_ptr<ByteSource> file(const QString& name) = 0;
    // How messages name a file of the feed: "feed.zip/stops.txt".
    virtual QString pathOf(const QString& name) const = 0;
    // The bytes the file holds, as far as the folder or the zip says before it is read (a zip
    // entry's size may be forged, so this only sizes a progress bar); 0 when it is missing or
    // the source cannot tell.
    virtual qint64 sizeOf(const QString& name) const
    {
        (void)name;
        return 0;
    }
};

// More than any real feed's largest file (stop_times of a big city's buses is a few hundred
// MB); a zip entry past it is refused, whatever it claims, before it fills the memory.
constexpr qint64 kMaxFeedFileBytes = qint64(1) << 30;
// Deflate cannot shrink data more than about 1032 to 1; an entry that claims more is forged.
constexpr qint64 kMaxCompressionRatio = 1100;

}  // namespace fareboard::datatool::gtfs
