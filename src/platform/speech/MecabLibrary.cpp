#include "MecabLibrary.h"

#include "platform/SharedLibrary.h"

namespace fareboard {

MecabLibrary::CreateTagger MecabLibrary::open(const char* soname)
{
    // The C++ factory's symbol: a mangled name, but the one lookup the tagger needs, where
    // the C interface would need three and a rewrite of the reader.
    // Does not build if the header's factory no longer has this signature (never evaluated).
    using Declared [[maybe_unused]] = decltype(static_cast<CreateTagger>(&MeCab::createTagger));
    CreateTagger create = nullptr;
    SharedLibrary(soname).bind(create, "_ZN5MeCab12createTaggerEiPPc");
    return create;
}

}  // namespace fareboard
