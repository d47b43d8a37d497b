#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <vector>

// What every fuzz target file provides besides LLVMFuzzerTestOneInput: well-formed inputs,
// built by the tests' own hand writers, to start from.
std::vector<QByteArray> fuzzSeeds();

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
