#include "DataIo.h"

#include "console/FareDataFile.h"
#include "platform/AppError.h"
#include "platform/FileAccess.h"
#include "platform/MessageBox.h"

namespace fareboard {

bool DataIo::LoadFareData(const QString& folder, const QString& routeKey, MessageBox& messageBox,
                          const QString& title)
{
    auto tell = [&](const QString& text) {
        messageBox.show(text, title, MessageBox::Icon::None, MessageBox::Buttons::Ok);
        return false;
    };
    try {
        const QString path = resolveIgnoringCase(folder + routeKey + QStringLiteral(".hy3"));
        QByteArray bytes;
        try {
            bytes = readFileBytes(path, FareDataFile::kMaxUsefulBytes);
        } catch (const AppError& e) {
            if (e.number() == ErrorNumber::FileNotFound)
                return tell(FareMessages::Missing);
            throw;
        }

        const int16_t count = FareDataFile::readCount(bytes);
        if (count == 0)
            return tell(FareMessages::Empty);
        if (count - 1 < Route.SectionNo)
            return tell(FareMessages::SectionTooLarge);
        // Rows beyond the table cannot be shown; refuse the file before anything is stored.
        if (count > FareTable::RowLimit)
            throw AppError(ErrorNumber::SubscriptOutOfRange);

        const auto records = FareDataFile::readRecords(bytes, count);

        // Every check passed: only now does the route change, all of it at once.
        Table.ClearTable();
        for (int r = 1; r <= count; ++r) {
            const auto& rec = records[static_cast<size_t>(r - 1)];
            Table.SetCell(r, 1, rec.stopName);
            Table.SetCell(r, 2, rec.ticketNo);
            for (int c = 3; c <= FareTable::ColumnLimit; ++c)
                Table.SetCell(r, c, rec.values[static_cast<size_t>(c - 3)]);
        }
        Route.RowCount = count;
        Route.StopIndex = static_cast<int16_t>(Route.SectionNo - 1);
        return true;
    } catch (const AppError& e) {
        return tell(e.description());
    }
}

}  // namespace fareboard
