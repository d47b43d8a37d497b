#include "SettingsFile.h"

#include "platform/AppError.h"
#include "platform/ShiftJis.h"

#include <QtEndian>

namespace fareboard::SettingsFile {
namespace {

// The file's layout, written once and walked by both the writer and the reader, so the two can
// never disagree on the order of a field.
template <typename IO, typename Store>
void walk(IO& io, Store& s)
{
    io.str(s.DataDir.FareDataDir);
    io.str(s.DataDir.TapeDataDir);

    auto& p = s.Panel;
    io.i2(p.AutoSeiriNum);
    io.i4(p.PanelColor0);
    io.i4(p.PanelColor1);
    io.i4(p.PanelColor2);
    io.i2(p.PanelListIndex);
    io.i2(p.SeiriNumZeroPad);
    io.i2(p.PanelOpt0);
    io.i2(p.PanelOpt1);
    io.i2(p.PanelOpt7);
    io.i2(p.PanelOpt6);
    io.i2(p.PanelOpt3);
    io.i2(p.PanelOpt2);
    io.i2(p.PanelOpt4);
    io.i2(p.PanelOpt5);
    io.str(p.UserPanelFile0);
    io.str(p.UserPanelFile1);
    io.str(p.UserPanelFile2);

    auto& d = s.Degit;
    io.i4(d.DegitBackColor);
    io.i4(d.DegitBaseForeColor);
    io.i4(d.DegitForeColor);
    io.i2(d.InfoDigitFlag0);
    io.i2(d.InfoDigitCol0);
    io.i2(d.InfoDigitFlag4);
    io.i2(d.InfoDigitFlag1);
    io.i2(d.InfoDigitCol1);
    io.i2(d.InfoDigitFlag2);
    io.i2(d.InfoDigitCol2);
    io.i2(d.InfoDigitFlag3);
    io.i2(d.InfoDigitCol4);
    io.i2(d.InfoDigitCol3);

    auto& c = s.Chimei;
    io.i4(c.ChimeiBackColor);
    io.i4(c.ChimeiForeColor);
    io.i2(c.ChimeiListIndex);
    io.i2(c.ChimeiBold);

    auto& snd = s.Sound;
    io.str(snd.SoundFile0);
    io.str(snd.SoundFile1);
    io.i2(snd.FareSoundMode0);
    io.i2(snd.FareSoundMode1);
    io.i2(snd.FarePlaySync0);
    io.i2(snd.FarePlaySync1);
    io.str(snd.SoundFile7);
    io.i2(snd.SoundListIndex);
    io.str(snd.SoundFile8);
    io.str(snd.SoundFile9);
    io.str(snd.SoundFile10);
    io.i2(snd.TapeSoundMode2);
    io.i2(snd.TapeSoundMode3);
    io.i2(snd.TapePlaySync0);
    io.i2(snd.TapePlaySync1);
    io.str(snd.SoundFile3);
    io.str(snd.SoundFile4);
    io.str(snd.SoundFile5);
    io.str(snd.SoundFile6);

    auto& sp = s.SeiriPrev;
    io.i2(sp.UseSeiriPrev);
    io.str(sp.SeiriPlgDir);
    io.i2(sp.DateMode0);
    io.i2(sp.DateMode1);
    io.i2(sp.DateMode2);
    io.str(sp.FixedDate);

    auto& ctl = s.Ctl;
    io.i2(ctl.CtlFrontPanel);
    io.i4(ctl.CtlScroll0);
    io.i4(ctl.CtlScroll1);
    io.i2(ctl.LateNightFare);
    io.i2(ctl.PreviewOpen);
    io.i4(ctl.CtlLeft);
    io.i4(ctl.CtlTop);

    io.i4(s.Board.BoardLeft);
    io.i4(s.Board.BoardTop);

    for (auto& colour : s.CustomColors)
        io.i4(colour);

    io.degitCount(s.DegitCount);

    for (auto& attr : s.DegitAttrs) {
        io.i2(attr.Shift);
        io.i2(attr.ZeroMode);
        io.i2(attr.FillZero);
    }
}

class Writer {
public:
    QByteArray bytes;

    void i2(int16_t v) { put<int16_t>(v); }
    void i4(int32_t v) { put<int32_t>(v); }
    void str(const QString& s)
    {
        QByteArray sjis = toShiftJis(s);
        // The length field is 16 bits; a longer text is cut at a character boundary, never
        // stored with a wrapped length that would shift every following field.
        while (sjis.size() > 0xFFFF)
            sjis = toShiftJis(fromShiftJis(sjis.left(0xFFFF)).chopped(1));
        put<uint16_t>(static_cast<uint16_t>(sjis.size()));
        bytes += sjis;
    }
    void degitCount(int16_t) { i2(SettingsStore::kDegitCount); }

private:
    template <typename T>
    void put(T v)
    {
        char buf[sizeof(T)];
        qToLittleEndian(v, buf);
        bytes.append(buf, sizeof(T));
    }
};

class Reader {
public:
    explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

    void i2(int16_t& v) { v = get<int16_t>(); }
    void i4(int32_t& v) { v = get<int32_t>(); }
    void str(QString& s)
    {
        const uint16_t length = get<uint16_t>();
        need(length);
        s = fromShiftJis(bytes_.mid(pos_, length));
        pos_ += length;
    }
    void degitCount(int16_t& v)
    {
        get<int16_t>();  // older writers may have stored another count; there are always 24
        v = SettingsStore::kDegitCount;
    }

private:
    void need(qint64 n) const
    {
        if (bytes_.size() - pos_ < n)
            throw AppError(ErrorNumber::InputPastEndOfFile);
    }
    template <typename T>
    T get()
    {
        need(sizeof(T));
        T v = qFromLittleEndian<T>(bytes_.constData() + pos_);
        pos_ += sizeof(T);
        return v;
    }

    const QByteArray& bytes_;
    qint64 pos_ = 0;
};

}  // namespace

QByteArray encode(const SettingsStore& store)
{
    Writer w;
    walk(w, store);
    return w.bytes;
}

SettingsStore decode(const QByteArray& bytes)
{
    SettingsStore store;
    if (!decodeOver(bytes, store))
        throw AppError(ErrorNumber::InputPastEndOfFile);
    return store;
}

bool decodeOver(const QByteArray& bytes, SettingsStore& store)
{
    // Every field is assigned only once its bytes are all there, so the walk stops with the
    // fields before the end in place and the rest untouched.
    Reader r(bytes);
    try {
        walk(r, store);
    } catch (const AppError&) {
        return false;
    }
    return true;
}

}  // namespace fareboard::SettingsFile
