#include "FeedSource.h"

#include "CsvReader.h"
#include "InputError.h"

#include <QDir>
#include <QFileInfo>

#include <map>

#include <zip.h>

namespace fareboard::datatool::gtfs {
namespace {

class FolderFeed : public FeedSource {
public:
    explicit FolderFeed(const QString& path) : dir_(path) {}

    std::unique_ptr<ByteSource> file(const QString& name) override
    {
        const QString path = find(name);
        if (path.isEmpty())
            return nullptr;
        return std::make_unique<FileSource>(path);
    }
    QString pathOf(const QString& name) const override
    {
        const QString found = find(name);
        return found.isEmpty() ? dir_.filePath(name) : found;
    }

private:
    QString find(const QString& name) const
    {
        if (QFileInfo(dir_.filePath(name)).isFile())
            return dir_.filePath(name);
        for (const QString& entry : dir_.entryList(QDir::Files)) {
            if (entry.compare(name, Qt::CaseInsensitive) == 0)
                return dir_.filePath(entry);
        }
        return {};
    }

    QDir dir_;
};

// One zip entry, unpacked as it is read. Counting what comes out keeps a forged size from
// mattering: the entry ends where its data ends or at the limit, never at what it claims.
class ZipEntrySource : public ByteSource {
public:
    ZipEntrySource(zip_file_t* file, QString path, qint64 claimed)
        : file_(file), path_(std::move(path)), claimed_(claimed)
    {
    }
    ~ZipEntrySource() override { zip_fclose(file_); }

    qint64 read(char* buffer, qint64 max) override
    {
        const zip_int64_t n = zip_fread(file_, buffer, zip_uint64_t(max));
        if (n < 0)
            throw InputError(path_, 0,
                             QStringLiteral("the zip entry is damaged: %1").arg(QString::fromUtf8(zip_file_strerror(file_))));
        read_ += n;
        if (read_ > claimed_ || read_ > kMaxFeedFileBytes)
            throw InputError(path_, 0, QStringLiteral("the zip entry unpacks to more than it claims; refused"));
        return n;
    }

private:
    zip_file_t* file_;
    QString path_;
    qint64 claimed_;
    qint64 read_ = 0;
};

class ZipFeed : public FeedSource {
public:
    ZipFeed(zip_t* zip, QString path, QByteArray bytes) : path_(std::move(path)), bytes_(std::move(bytes)), zip_(zip)
    {
        // The files by their name without folders; the shallowest wins, so a feed zipped with
        // its folder is read like one zipped without. Two at that depth are two feeds.
        const zip_int64_t count = zip_get_num_entries(zip_, 0);
        std::map<QString, int> depth;
        for (zip_int64_t i = 0; i < count; ++i) {
            const char* raw = zip_get_name(zip_, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
            if (!raw)
                continue;
            const QString name = QString::fromUtf8(raw);
            if (name.endsWith(QLatin1Char('/')))
                continue;
            const QString base = name.section(QLatin1Char('/'), -1).toLower();
            const int d = int(name.count(QLatin1Char('/')));
            const auto known = depth.find(base);
            if (known == depth.end() || d < known->second) {
                depth[base] = d;
                entries_[base] = i;
                second_.erase(base);
            } else if (d == known->second && !second_.count(base)) {
                second_[base] = name;
            }
        }
    }
    ~ZipFeed() override { zip_discard(zip_); }

    std::unique_ptr<ByteSource> file(const QString& name) override
    {
        const auto entry = entries_.find(name.toLower());
        if (entry == entries_.end())
            return nullptr;
        const QString where = pathOf(name);
        if (const auto other = second_.find(name.toLower()); other != second_.end())
            throw InputError(path_, 0,
                             QStringLiteral("the zip holds two feeds, %1 and %2; unpack it and import each folder on its own")
                                 .arg(QString::fromUtf8(zip_get_name(zip_, zip_uint64_t(entry->second), ZIP_FL_ENC_GUESS)),
                                      other->second));
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(zip_, zip_uint64_t(entry->second), 0, &stat) != 0)
            throw InputError(where, 0, QStringLiteral("the zip entry cannot be read: %1").arg(QString::fromUtf8(zip_strerror(zip_))));
        const qint64 size = (stat.valid & ZIP_STAT_SIZE) ? qint64(stat.size) : kMaxFeedFileBytes;
        const qint64 packed = (stat.valid & ZIP_STAT_COMP_SIZE) ? qint64(stat.comp_size) : 0;
        if (size > kMaxFeedFileBytes)
            throw InputError(where, 0,
                             QStringLiteral("the zip entry unpacks to %1 MB; a feed file above %2 MB is refused")
                                 .arg(size >> 20)
                                 .arg(kMaxFeedFileBytes >> 20));
        if (size > (qint64(1) << 20) && (packed == 0 || size / packed > kMaxCompressionRatio))
            throw InputError(where, 0,
                             QStringLiteral("the zip entry claims %1 MB from %2 bytes, more than compression can "
                                            "give (a zip bomb?); refused")
                                 .arg(size >> 20)
                                 .arg(packed));
        zip_file_t* file = zip_fopen_index(zip_, zip_uint64_t(entry->second), 0);
        if (!file)
            throw InputError(where, 0, QStringLiteral("the zip entry cannot be read: %1").arg(QString::fromUtf8(zip_strerror(zip_))));
        return std::make_unique<ZipEntrySource>(file, where, size);
    }
    QString pathOf(const QString& name) const override { return path_ + QLatin1Char('/') + name; }

private:
    QString path_;
    QByteArray bytes_;  // what a zip opened from memory reads
    zip_t* zip_ = nullptr;
    std::map<QString, zip_int64_t> entries_;
    std::map<QString, QString> second_;  // another entry of that name at the same depth
};

[[noreturn]] void zipFailed(const QString& path, zip_error_t* error)
{
    const QString why = QString::fromUtf8(zip_error_strerror(error));
    zip_error_fini(error);
    throw InputError(path, 0, QStringLiteral("cannot open the zip: %1").arg(why));
}

}  // namespace

std::unique_ptr<FeedSource> FeedSource::open(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw InputError(path, 0, QStringLiteral("no such file or folder"));
    if (info.isDir())
        return std::make_unique<FolderFeed>(path);
    int code = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!zip) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        zipFailed(path, &error);
    }
    return std::make_unique<ZipFeed>(zip, path, QByteArray());
}

std::unique_ptr<FeedSource> FeedSource::openZip(const QByteArray& bytes, const QString& name)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), zip_uint64_t(bytes.size()), 0, &error);
    if (!source)
        zipFailed(name, &error);
    zip_t* zip = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!zip) {
        zip_source_free(source);
        zipFailed(name, &error);
    }
    zip_error_fini(&error);
    return std::make_unique<ZipFeed>(zip, name, bytes);
}

}  // namespace fareboard::datatool::gtfs
