#include "FuzzTarget.h"
#include "GtfsFuzzFeed.h"

// The first byte picks which file of the small feed the rest of the input replaces.
std::vector<QByteArray> fuzzSeeds()
{
    std::vector<QByteArray> seeds;
    const auto files = fuzzfeed::smallFeed();
    for (std::size_t i = 0; i < files.size(); ++i)
        seeds.push_back(char(i) + files[i].second);
    return seeds;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    auto files = fuzzfeed::smallFeed();
    std::map<QString, QByteArray> feed(files.begin(), files.end());
    feed[files[data[0] % files.size()].first] = QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1));
    fuzzfeed::MemoryFeed source(std::move(feed));
    fuzzfeed::importAll(source);
    return 0;
}
