#pragma once

#include <mecab.h>

namespace fareboard {

// MeCab, opened by the speech worker when the fallback voice first reads a text. Its tagger is
// used through virtual calls only, so the factory is the one function to look up. Only the
// header is used at build time.
struct MecabLibrary {
    static constexpr const char* kSoname = "libmecab.so.2";

    // MeCab::createTagger(int, char**), one of two overloads.
    using CreateTagger = MeCab::Tagger* (*)(int, char**);

    // Empty when the library is missing or lacks the factory: the text is then read without
    // the analyser, as when its dictionary is missing.
    static CreateTagger open(const char* soname = kSoname);
};

}  // namespace fareboard
