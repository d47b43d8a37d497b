#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fareboard {

// Number of interleaved samples to keep so that the trailing stretch quieter than `threshold`
// is cut off, rounded up to whole frames of `channels` samples. A MIDI rendered by a
// synthesiser carries seconds of near-silent release after its last note; a play that waits
// for the end would otherwise keep the user waiting through it.
std::size_t lengthWithoutQuietTail(const int16_t* samples, std::size_t count, int channels, int threshold);

// Index of the first sample louder than `threshold`, less `keep` samples of lead-in; 0 when
// that would be negative, `count` when the whole buffer is quiet.
std::size_t startWithoutQuietLead(const int16_t* samples, std::size_t count, int threshold, std::size_t keep);

// A complete RIFF/WAVE file of 16-bit mono samples, so that the mixer's own loader converts
// it to the device's rate and layout.
QByteArray monoWaveFile(const std::vector<int16_t>& samples, int sampleRate);

}  // namespace fareboard
