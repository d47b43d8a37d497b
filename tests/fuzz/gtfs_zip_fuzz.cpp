#include "FuzzTarget.h"
#include "GtfsFuzzFeed.h"

#include <zip.h>

namespace {

// The small feed zipped in memory, deflated or stored, at the top or inside a folder.
QByteArray zipped(bool deflate, const char* folder)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_source_keep(buffer);
    zip_t* zip = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    const auto files = fuzzfeed::smallFeed();
    for (const auto& [name, bytes] : files) {
        zip_source_t* s = zip_source_buffer(zip, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        const zip_int64_t at = zip_file_add(zip, (QByteArray(folder) + name.toUtf8()).constData(), s, 0);
        zip_set_file_compression(zip, zip_uint64_t(at), deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
    }
    zip_close(zip);
    QByteArray out;
    if (zip_source_open(buffer) == 0) {
        char chunk[4096];
        zip_int64_t n;
        while ((n = zip_source_read(buffer, chunk, sizeof chunk)) > 0)
            out.append(chunk, qsizetype(n));
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    return out;
}

}  // namespace

std::vector<QByteArray> fuzzSeeds()
{
    return {zipped(true, ""), zipped(false, "feed/")};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const auto source = fuzzfeed::FeedSource::openZip(
            QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), QStringLiteral("fuzz.zip"));
        fuzzfeed::importAll(*source);
    } catch (const fuzzfeed::InputError&) {
    }
    return 0;
}
