#include "operation/GtfsFeedImporter.h"

#include "gtfs/FeedImport.h"
#include "gtfs/InputError.h"

#include <algorithm>

namespace fareboard {
namespace {

using datatool::InputError;
using datatool::gtfs::FeedImport;
using datatool::gtfs::ImportControl;

// The bar runs once over the whole of a step: reading takes most of a listing, converting the
// rest. The shares are what a profile of a large feed showed.
constexpr qint64 kPermille = 1000;
constexpr qint64 kReadingShare = 850;

ImportControl controlFor(ImportProgress& progress, bool listing)
{
    ImportControl control;
    control.cancelled = [&progress] { return progress.cancelRequested.load(); };
    control.progress = [&progress, listing](ImportControl::Stage stage, qint64 done, qint64 total) {
        const qint64 part = total > 0 ? std::clamp<qint64>(done * kPermille / total, 0, kPermille) : 0;
        qint64 overall = part;
        if (listing)
            overall = stage == ImportControl::Stage::Reading ? part * kReadingShare / kPermille
                                                             : kReadingShare + part * (kPermille - kReadingShare) / kPermille;
        progress.stage = stage == ImportControl::Stage::Reading      ? ImportProgress::Reading
                         : stage == ImportControl::Stage::Converting ? ImportProgress::Converting
                                                                     : ImportProgress::Writing;
        progress.total = kPermille;
        progress.done = overall;
    };
    return control;
}

// The library's faults in the dialog's terms; the texts stay the tool's.
template <typename Work>
auto translated(Work work)
{
    try {
        return work();
    } catch (const InputError& e) {
        throw ImportFault{e.file(), e.line(), e.what()};
    } catch (const datatool::gtfs::ImportCancelled&) {
        throw ImportCancelled{};
    }
}

class GtfsListing final : public FeedListing {
public:
    explicit GtfsListing(std::unique_ptr<FeedImport> import) : import_(std::move(import)) {}

    ImportReport import(const std::vector<int>& numbers, const QString& folder, ImportProgress& progress) override
    {
        return translated([&] {
            const FeedImport::Written written = import_->write(folder, numbers, controlFor(progress, false));
            return ImportReport{written.imported, written.warnings};
        });
    }

private:
    std::unique_ptr<FeedImport> import_;
};

}  // namespace

std::unique_ptr<FeedListing> GtfsFeedImporter::list(const QString& feed, ImportProgress& progress)
{
    return translated([&]() -> std::unique_ptr<FeedListing> {
        auto import = std::make_unique<FeedImport>(feed, QStringList(), controlFor(progress, true));
        const datatool::gtfs::FeedInfo info = import->readInfo();
        std::vector<RouteRow> rows;
        for (const auto& item : import->patterns()) {
            const QStringList line = import->listRow(item);
            RouteRow row;
            row.number = item.pattern->number;
            row.routeId = line[1];
            row.shortName = line[2];
            row.longName = line[3];
            row.direction = line[4];
            row.headsign = line[5];
            row.firstStop = line[6];
            row.lastStop = line[7];
            row.stops = line[8].toInt();
            row.tickets = line[9].toInt();
            row.stopNames = import->stopNames(item);
            row.refused = item.refused;
            rows.push_back(std::move(row));
        }
        auto listing = std::make_unique<GtfsListing>(std::move(import));
        listing->agencyName = info.agencyName;
        listing->validFrom = info.validFrom;
        listing->validTo = info.validTo;
        listing->validityFromCalendar = info.fromCalendar;
        listing->patterns = std::move(rows);
        return listing;
    });
}

}  // namespace fareboard
