// Writes the demo route's chimes: small WAV files and one MIDI file, made from a few sine
// partials so that the tree holds no recorded or downloaded sound and every build makes the
// same bytes.
//
// Usage: fareboard-make-chimes OUTPUT_FOLDER

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

struct Note {
    double start;     // seconds
    double frequency; // Hz
    double length;    // seconds until silent
    double decay;     // seconds for the level to fall to 1/e
};

// A struck bell: a fundamental with two weaker overtones, a 4 ms attack and an exponential
// fade, cut at the note's length with a short ramp so that it never clicks.
std::vector<int16_t> render(const std::vector<Note>& notes, double volume)
{
    double total = 0;
    for (const Note& n : notes)
        total = std::max(total, n.start + n.length);
    std::vector<double> mix(std::size_t(total * kRate) + 1, 0.0);
    for (const Note& n : notes) {
        const std::size_t first = std::size_t(n.start * kRate);
        const std::size_t count = std::size_t(n.length * kRate);
        for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double t = double(i) / kRate;
            const double attack = std::min(1.0, t / 0.004);
            const double release = std::min(1.0, (n.length - t) / 0.02);
            const double level = attack * release * std::exp(-t / n.decay);
            const double w = 2 * kPi * n.frequency * t;
            mix[first + i] += level * (std::sin(w) + 0.35 * std::sin(2 * w) * std::exp(-t / 0.15) + 0.12 * std::sin(3 * w));
        }
    }
    std::vector<int16_t> samples(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) {
        const double v = std::clamp(mix[i] * volume, -1.0, 1.0);
        samples[i] = int16_t(std::lround(v * 32767));
    }
    return samples;
}

void put16(std::string& out, unsigned v)
{
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::string waveFile(const std::vector<int16_t>& samples)
{
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::string out = "RIFF";
    put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, kRate);
    put32(out, kRate * 2);
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, dataBytes);
    for (int16_t s : samples)
        put16(out, uint16_t(s));
    return out;
}

void putVariableLength(std::string& out, uint32_t value)
{
    char bytes[5];
    int n = 0;
    bytes[n++] = char(value & 0x7F);
    while (value >>= 7)
        bytes[n++] = char((value & 0x7F) | 0x80);
    while (n > 0)
        out += bytes[--n];
}

// A one-track MIDI file on a vibraphone: (MIDI note, length in ticks at 480 a beat).
std::string midiFile(const std::vector<std::pair<int, int>>& melody)
{
    std::string track;
    auto event = [&track](uint32_t delta, std::initializer_list<int> bytes) {
        putVariableLength(track, delta);
        for (int b : bytes)
            track += char(b);
    };
    event(0, {0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});  // 500000 us a beat: 120 beats a minute
    event(0, {0xC0, 11});                             // program 12, vibraphone
    event(0, {0xB0, 7, 127});                         // full volume: the synthesiser renders
    event(0, {0xB0, 11, 127});                        // General MIDI far quieter than WAVs
    for (const auto& [note, ticks] : melody) {
        event(0, {0x90, note, 127});
        event(uint32_t(ticks), {0x80, note, 0});
    }
    event(0, {0xFF, 0x2F, 0x00});

    std::string out = "MThd";
    out += std::string("\0\0\0\x06", 4);
    out += std::string("\0\0\0\x01", 4);  // format 0, one track
    out += std::string("\x01\xE0", 2);      // 480 ticks a beat
    out += "MTrk";
    const uint32_t length = uint32_t(track.size());
    out += char(length >> 24);
    out += char((length >> 16) & 0xFF);
    out += char((length >> 8) & 0xFF);
    out += char(length & 0xFF);
    return out + track;
}

double pitch(int midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

bool write(const std::string& folder, const std::string& name, const std::string& bytes)
{
    const std::string path = folder + "/" + name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    file.close();
    if (!file) {
        std::fprintf(stderr, "fareboard-make-chimes: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: fareboard-make-chimes OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = true;
    // Keypad and reset: short electronic beeps, as a console's keys give.
    ok &= write(folder, "key.wav", waveFile(render({{0, 2000, 0.07, 1.0}}, 0.3)));
    ok &= write(folder, "reset.wav", waveFile(render({{0, 1500, 0.08, 1.0}, {0.12, 2000, 0.12, 1.0}}, 0.3)));
    // Stepping: one soft tone for an ordinary stop, two for a main stop, three falling ones for
    // the terminus; short, because the announcement may be playing at the same time.
    ok &= write(folder, "step1.wav", waveFile(render({{0, pitch(84), 0.35, 0.12}}, 0.45)));
    ok &= write(folder, "step2.wav", waveFile(render({{0, pitch(84), 0.25, 0.1}, {0.18, pitch(88), 0.4, 0.14}}, 0.45)));
    ok &= write(folder, "step3.wav",
                waveFile(render({{0, pitch(91), 0.3, 0.12}, {0.2, pitch(88), 0.3, 0.12}, {0.4, pitch(84), 0.6, 0.2}}, 0.45)));
    // Before an announcement: the classic two-tone "pin-pon" falling a major third, and a
    // three-tone rising chime before the last one.
    ok &= write(folder, "tape2.wav", waveFile(render({{0, pitch(88), 0.7, 0.35}, {0.45, pitch(84), 1.1, 0.45}}, 0.45)));
    ok &= write(folder, "tape3.wav",
                waveFile(render({{0, pitch(79), 0.6, 0.3}, {0.35, pitch(84), 0.6, 0.3}, {0.7, pitch(88), 1.2, 0.5}}, 0.45)));
    // The stop-request bell: a bright two-tone "pin-pon" above the tape's, so a passenger's
    // press is heard for what it is over an announcement.
    ok &= write(folder, "bell.wav", waveFile(render({{0, pitch(95), 0.5, 0.22}, {0.24, pitch(91), 0.9, 0.32}}, 0.4)));
    // The opening announcement gets a little melody, played through the MIDI synthesiser.
    ok &= write(folder, "tape1.mid", midiFile({{72, 240}, {76, 240}, {79, 240}, {84, 480}, {79, 240}, {84, 960}}));
    return ok ? 0 : 1;
}
