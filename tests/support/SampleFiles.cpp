#include "support/SampleFiles.h"

#include "support/Bytes.h"

namespace fareboard::test {

QByteArray fareFileBytes(int count, const std::vector<SampleRow>& rows)
{
    Bytes b;
    b.i2(count);
    for (const SampleRow& row : rows) {
        b.i2(static_cast<int>(row.nameSjis.size())).raw(row.nameSjis).i2(row.ticketNo);
        for (int k = 1; k <= 150; ++k)
            b.i2(k <= static_cast<int>(row.values.size()) ? row.values[static_cast<size_t>(k - 1)] : 0);
    }
    return b.data();
}

std::vector<SampleRow> numberedRows(int n)
{
    std::vector<SampleRow> rows;
    for (int r = 1; r <= n; ++r) {
        SampleRow row;
        row.nameSjis = QByteArray("S") + QByteArray::number(r);
        row.ticketNo = r;
        for (int k = 1; k <= 150; ++k)
            row.values.push_back(10 * r + k);
        rows.push_back(row);
    }
    return rows;
}

// Integers count up from 1 in file order (I2 fields: 1, 2, 3 ...; I4 fields: 0x10000 + their
// position), strings are "s" + their position among the strings.
QByteArray distinctSettingsBytes()
{
    Bytes b;
    int n = 0;
    int s = 0;
    auto i2 = [&] { b.i2(++n); };
    auto i4 = [&] { b.i4(0x10000 + ++n); };
    auto str = [&] { b.ascii(("s" + std::to_string(++s)).c_str()); };

    str(); str();                                            // data folders
    i2(); i4(); i4(); i4(); i2(); i2();                       // panel: flag, 3 colours, list, pad
    for (int k = 0; k < 8; ++k) i2();                        // panel options
    str(); str(); str();                                     // user panels
    i4(); i4(); i4();                                        // digit colours
    for (int k = 0; k < 10; ++k) i2();                       // information digits
    i4(); i4(); i2(); i2();                                  // stop-name colours, list, bold
    str(); str(); i2(); i2(); i2(); i2(); str(); i2();        // sounds
    str(); str(); str(); i2(); i2(); i2(); i2();
    str(); str(); str(); str();
    i2(); str(); i2(); i2(); i2(); str();                    // ticket preview
    i2(); i4(); i4(); i2(); i2(); i4(); i4();                // console
    i4(); i4();                                              // board place
    for (int k = 0; k < 17; ++k) i4();                       // custom colours
    b.i2(24);                                                // digit count
    for (int k = 0; k < 24 * 3; ++k) i2();                   // digit attributes
    return b.data();
}

QByteArray townListBytes()
{
    QByteArray csv = "# city code,city, then town,reading,city codes\n02207,三沢市\n中央,チュウオウ,";
    for (int city = 1001; city <= 3000; ++city)
        csv += QByteArray::number(city).rightJustified(5, '0') + ' ';
    csv += "\n"
           "三沢,ミサワ,02207\n"
           "古間木,フルマキ,02207\n"
           "堀口,ホリグチ,02207\n"
           "松ケ崎,マツガサキ,02207\n"
           "米田,マイタ,02207\n"
           "久世,クセ,02203\n"
           "久世上久世町,クゼカミクゼチョウ,02207\n"
           "久世大薮町,クゼオオヤブチョウ,02207\n"
           "久世川原町,クゼカワハラチョウ,02207\n"
           "祝津町,シュクヅチョウ,02207\n"
           "祝津,シュクツ,01203\n"
           "上野,ウワノ,02201 02203\n"
           "上野,ウエノ,13106\n"
           "下田,シモダ,02201\n"
           "下田,ゲダ,02203 02205\n"
           "bad line\n"
           "上野,うえの,13106\n";
    return csv;
}

}  // namespace fareboard::test
